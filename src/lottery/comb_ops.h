#pragma once
// Comparisons, channels, sorting and small-array helpers over values and combinations.

#include <cstdint>
#include <string>
#include <string_view>

#include "lottery/types.h"

namespace kelmora::lottery {

int PositionalMatches(TComb a, TComb b);       // positions with equal values, 0..4
TNumberSet MatchedValues(TComb draw, TComb comb);  // values equal in position, ascending
TNumberSet CombToNumberSet(TComb comb);          // Count 4, values in position order
// Distinct values among the first n combinations, stopping once all 8 were seen.
int CountDistinctValues(const TCombsArray& combs, int n);
TByteArray CollectDistinctValues(const TCombsArray& combs, int n);  // in order of first appearance

bool ContainsValue(int value, TComb comb);
// Whether some position's value falls in the channel (1-based) for the channel size.
bool ContainsChannel(int channel, TComb comb, int channel_size);
// Whether for some position p, table[p][value of p - 7] equals value.
bool MapsToValue(int value, TComb comb, const TMatrixSegments& table);
// Each value moved k steps (-7..7) cyclically inside 7..14.
TComb RotateValues(TComb comb, int k);

// Channel of a value: ceil((v - 6) / size); a size below 1 counts as 1.
int ChannelOf(int value, int channel_size);
// Background colour 0xRRGGBB of a value's channel; pure red for a value outside 7..14.
uint32_t ChannelColor(int value, int channel_size);
// Colour of channel number 1..19; above 19 has 19 subtracted once; a number still outside 1..19
// gives pure red.
uint32_t ChannelNumberColor(int channel);

// Stable ascending sorts.
void SortInts(TIntArray& values);
TComb SortComb(TComb comb);
void SortNumberSet(TNumberSet& set);

// TByteArray helpers.
bool Contains(const TByteArray& values, uint8_t value);
void Append(TByteArray& values, uint8_t value);
void AppendUnique(TByteArray& values, uint8_t value);

// A list "1,3;5", or a range "a-b;step" giving the (b - a) div step + 1 values a, a+step, ...;
// the empty array when it is neither, for a zero or missing step, and for a range of more than
// 65536 values.
TIntArray ParseValueList(std::string_view text);
std::string ValueListToText(const TIntArray& values, std::string_view separator);

// Add rules of the small record arrays.
void AddSimple(TStatSimpleArray& items, int32_t key, int32_t n);
void SortSimple(TStatSimpleArray& items);  // ascending by Key, stable
// Adds one checked stake to the row of that name (ignoring case) or appends a row; matches outside
// 0..4 are ignored.
void AddRating(TRatingsArray& items, std::string_view name, int matches, Currency profit);
void AddProfitDraw(TProfitDrawArray& items, int32_t draw, Currency profit);

// The 32 digit text of the segment table, position by position, values 7..14 within a position.
std::string MatrixSegmentsToText(const TMatrixSegments& segments);
// Entry i from character i; a missing or non-digit character gives 1.
TMatrixSegments TextToMatrixSegments(std::string_view text);

}  // namespace kelmora::lottery
