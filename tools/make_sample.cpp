// Writes the synthetic demo archive of data/sample: uniform random draws from a fixed seed, one a
// day, numbered from 1. These are not real lottery results.
//
//   kelmora_make_sample OUT_DIR [COUNT]

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "lottery/comb_text.h"
#include "lottery/draws.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: kelmora_make_sample OUT_DIR [COUNT]\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const int count = argc > 2 ? std::atoi(argv[2]) : 3000;
  using namespace kelmora::lottery;

  // mt19937's output is fixed by the standard; the distributions are not, so values are mapped by hand.
  std::mt19937 rng(20240601u);
  TDrawsArray draws;
  TDate date{2018, 1, 1};
  for (int i = 0; i < count; ++i) {
    TDrawRec draw;
    draw.Number = i + 1;
    for (int p = 0; p < PositionCount; ++p) draw.Values = SetCombValue(draw.Values, p, ValueMin + rng() % 8);
    draw.Date = DateToText(date);
    draws.push_back(draw);
    date = AddDays(date, 1);
  }
  std::filesystem::create_directories(dir);
  SaveDrawsFile(dir / "Kelmora_4r32.ldr", draws);
  std::printf("%d draws written to %s\n", count, (dir / "Kelmora_4r32.ldr").string().c_str());
  return 0;
}
