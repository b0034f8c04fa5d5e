#pragma once
// The columns of a statistics row (GetGridArray), which the history grid shows and the
// selection boxes stand over:
//   1 period, 2 number, then five trend blocks from column 3. Each block has ten digit
//   places and four draw-box places (14 columns); the last block has its ten digits only.
//   block 0: hot digits, sum tails (SMA)      block 1: H3Y misses, R3A
//   block 2: HYL misses, RHA                  block 3: CYL misses, RCA
//   block 4: WYL misses
// Selection box i (condition CHK[i]) stands over column kFirstStatColumn + i; block g is
// the selection group g.
namespace zuohao {

inline constexpr int kPeriodColumn = 1;
inline constexpr int kNumberColumn = 2;
inline constexpr int kFirstStatColumn = 3;
inline constexpr int kBlockCount = 5;
inline constexpr int kDigitPlaces = 10;  // places 0 .. 9 of a block
inline constexpr int kDrawBoxPlaces = 4; // places 10 .. 13 of a block
inline constexpr int kBlockWidth = kDigitPlaces + kDrawBoxPlaces;
inline constexpr int kStatColumns = (kBlockCount - 1) * kBlockWidth + kDigitPlaces; // 66
inline constexpr int kLastColumn = kFirstStatColumn + kStatColumns - 1;             // 68
inline constexpr int kGridColumns = kLastColumn + 1; // column 0 is unused

// First column of a block.
constexpr int BlockStart(int block) {
    return kFirstStatColumn + block * kBlockWidth;
}
// Column of a place (0 .. 13) of a block.
constexpr int ColumnOf(int block, int place) {
    return BlockStart(block) + place;
}
// Block and place of a statistics column.
constexpr int BlockOf(int column) {
    return (column - kFirstStatColumn) / kBlockWidth;
}
constexpr int PlaceOf(int column) {
    return (column - kFirstStatColumn) % kBlockWidth;
}
// Places of a block (the last block has no draw boxes).
constexpr int BlockPlaces(int block) {
    return block == kBlockCount - 1 ? kDigitPlaces : kBlockWidth;
}
constexpr bool IsDrawBoxPlace(int place) {
    return place >= kDigitPlaces;
}

// Selection box of a place of a block, and the block and place of a box.
constexpr int CheckOf(int block, int place) {
    return block * kBlockWidth + place;
}
constexpr int CheckBlock(int check) {
    return check / kBlockWidth;
}
constexpr int CheckPlace(int check) {
    return check % kBlockWidth;
}

// A red separator stands right of the number column and right of each block's digits and
// draw boxes, but not after the last column.
constexpr bool HasSeparatorRight(int column) {
    if (column == kNumberColumn) return true;
    if (column < kFirstStatColumn || column >= kLastColumn) return false;
    const int place = PlaceOf(column);
    return place == kDigitPlaces - 1 || place == kBlockWidth - 1;
}

static_assert(kStatColumns == 66 && kLastColumn == 68);
static_assert(ColumnOf(3, 0) == 45 && ColumnOf(4, kDigitPlaces - 1) == kLastColumn);
static_assert(HasSeparatorRight(12) && HasSeparatorRight(16) && HasSeparatorRight(58) &&
              !HasSeparatorRight(kLastColumn) && !HasSeparatorRight(13));

} // namespace zuohao
