// talver-batch: the window's three commands, Read Sample Data, Configure
// Analysis and Compute, run one after the other from the command line.

#include "platform/HeapReuse.h"
#include "app/batch/BatchRun.h"
#include "platform/StopSignals.h"

int main(int argc, char** argv)
{
    talver::KeepFreedHeapMemory();
    talver::InstallStopSignals();
    return talver::RunBatchCommandLine(argc, argv);
}
