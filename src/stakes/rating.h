#pragma once
// The rating: checked stakes summed up by name (compared ignoring case), its file Kelmora_4r32.lrt
// of 296-byte records, its sort, its view texts and its CSV export.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "lottery/types.h"
#include "stakes/stake_rec.h"

namespace kelmora::stakes {

using lottery::TRatingRec;
using lottery::TRatingsArray;

inline constexpr size_t RatingRecSize = 296;
inline constexpr int RatingColumnCount = 16;
inline constexpr int RatingSortableColumns = 11;

// Adds one checked stake (unchecked ones, Matches < 0, are ignored) to the row of its name.
void AddStakeToRating(TRatingsArray& rating, const TStakeRec& stake);

// The comparison of the view's column: 0 when either Count is 0, and for the columns "E0".."E4".
// Money and averages compare by their difference rounded to hundredths, so it is not a strict weak
// ordering.
int CompareRating(const TRatingRec& a, const TRatingRec& b, int column);
// Sorts in place by the column (nothing for a negative column or fewer than two records). The
// quicksort only ever reads inside the array whatever the comparison answers, and leaves two
// records the comparison finds equal to the pivot where they are.
// Numeric columns are sorted through keys worked out once per record, in the same steps and to the
// same order as comparing the records themselves (SortRatingByRecords).
void SortRating(TRatingsArray& rating, int column, bool descending);
void SortRatingByRecords(TRatingsArray& rating, int column, bool descending);

// The file: records one after another, no header. Read returns the records that were whole and
// sets problem to the failure's text when the file could not be read fully.
TRatingsArray ReadRatingFile(const std::filesystem::path& path, std::string* problem);
// Writes through a temporary file renamed over the old one; throws Error.
void WriteRatingFile(const std::filesystem::path& path, const TRatingsArray& rating);
std::vector<uint8_t> EncodeRating(const TRatingsArray& rating);

const std::array<const char*, RatingColumnCount>& RatingColumnCaptions();
// The view's cell; eff_mode 0 expected counts, 1 absolute, 2 relative efficiency.
std::string RatingCellText(const TRatingRec& rec, int column, int eff_mode, char decimal_separator);
// The CSV export (Windows-1251, CR LF): the quoted captions, then one line per record.
std::string RatingsCsv(const TRatingsArray& rating, char decimal_separator);

}  // namespace kelmora::stakes
