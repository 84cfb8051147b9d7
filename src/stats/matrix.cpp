#include "stats/matrix.h"

#include <array>

namespace kelmora::stats {

namespace {

constexpr uint8_t S = FlagShown;

const TStatClass ColMix2Class{.Ordinal = 84, .ClassName = "TstCombColMix2", .CodeFormat = "KFM2",
                              .CaptionFormat = "Сочетания из 2 столбцов по всем числам тиража", .Group = 4,
                              .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombColMix2>};
const TStatClass ColMix3Class{.Ordinal = 85, .ClassName = "TstCombColMix3", .CodeFormat = "KFM3",
                              .CaptionFormat = "Сочетания из 3 столбцов по всем числам тиража", .Group = 4,
                              .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombColMix3>};
const TStatClass ColSeq2Class{.Ordinal = 87, .ClassName = "TstCombColSeq2", .CodeFormat = "KFS2",
                              .CaptionFormat = "Сочетания из 2 столбцов по соседним числам", .Group = 4,
                              .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombColSeq2>};
const TStatClass ColSeq3Class{.Ordinal = 88, .ClassName = "TstCombColSeq3", .CodeFormat = "KFS3",
                              .CaptionFormat = "Сочетания из 3 столбцов по соседним числам", .Group = 4,
                              .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombColSeq3>};
const TStatClass RowMix2Class{.Ordinal = 90, .ClassName = "TstCombRowMix2", .CodeFormat = "KRM2",
                              .CaptionFormat = "Сочетания из 2 строк по всем числам тиража", .Group = 4,
                              .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombRowMix2>};
const TStatClass RowMix3Class{.Ordinal = 91, .ClassName = "TstCombRowMix3", .CodeFormat = "KRM3",
                              .CaptionFormat = "Сочетания из 3 строк по всем числам тиража", .Group = 4,
                              .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombRowMix3>};
const TStatClass RowSeq2Class{.Ordinal = 93, .ClassName = "TstCombRowSeq2", .CodeFormat = "KRS2",
                              .CaptionFormat = "Сочетания из 2 строк по соседним числам", .Group = 4,
                              .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombRowSeq2>};
const TStatClass RowSeq3Class{.Ordinal = 94, .ClassName = "TstCombRowSeq3", .CodeFormat = "KRS3",
                              .CaptionFormat = "Сочетания из 3 строк по соседним числам", .Group = 4,
                              .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombRowSeq3>};

constexpr std::array<const TStatClass*, 8> Classes = {&ColMix2Class, &ColMix3Class, &ColSeq2Class, &ColSeq3Class,
                                                      &RowMix2Class, &RowMix3Class, &RowSeq2Class, &RowSeq3Class};

}  // namespace

std::span<const TStatClass* const> MatrixClasses() { return Classes; }

}  // namespace kelmora::stats
