// talver-batch: the window's three commands, Read Sample Data, Configure
// Analysis and Compute, run one after the other from the command line.

#include "platform/HeapReuse.h"
#include "app/batch/BatchRun.h"
#include "platform/StopSignals.h"
#include "platform/Terminal.h"

int main(int argc, char** argv)
{
    talver::KeepFreedHeapMemory();
    talver::InstallStopSignals();
    talver::ShowUtf8OnConsole();
    return talver::RunBatchCommandLine(argc, argv);
}
