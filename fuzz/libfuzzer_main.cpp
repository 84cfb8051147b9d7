// The libFuzzer binary of one target: KELMORA_FUZZ_ENTRY names its entry point.

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return kelmora::fuzz::KELMORA_FUZZ_ENTRY(data, size);
}
