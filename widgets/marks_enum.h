/// @file
/// Names for the 52 mark symbols. zkw::Mark::FilledSquare converts to the
/// symbol's number, so a name goes wherever a number is taken today
/// (AddMark, AddMarks, AddErrorBar, DrawMark, the hover highlight) and QML
/// reads the same names as Mark.FilledSquare (the module Zkw.Vexa declares
/// Mark in quick/qml_types.h; its tools read the enumerators from this
/// library's moc output). Where a symbol comes in
/// several sizes the number in its name is its size in pixels.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

namespace zkw {

/// The mark symbols by name (values 0..51 are the symbol numbers).
struct Mark {
  Q_GADGET

 public:
  /// One mark symbol; converts to its number implicitly.
  enum Symbol : std::uint8_t {
    Dot = 0,                         ///< a single pixel
    SmallPlus = 1,                   ///< plus, arms of 2
    Plus = 2,                        ///< plus, arms of 3
    LargePlus = 3,                   ///< plus, arms of 4
    SmallDiagonalCross = 4,          ///< x, arms of 2
    DiagonalCross = 5,               ///< x, arms of 3
    LargeDiagonalCross = 6,          ///< x, arms of 4
    FilledSquare3 = 7,               ///< filled square 3 by 3
    FilledSquare5 = 8,               ///< filled square 5 by 5
    FilledSquare7 = 9,               ///< filled square 7 by 7
    HollowSquare3 = 10,              ///< hollow square 3 by 3
    HollowSquare5 = 11,              ///< hollow square 5 by 5
    HollowSquare7 = 12,              ///< hollow square 7 by 7
    DiamondWithDot = 13,             ///< hollow diamond with a centre dot
    FilledDiamond2 = 14,             ///< filled diamond, radius 2
    FilledDiamond3 = 15,             ///< filled diamond, radius 3
    HollowCircle5 = 16,              ///< hollow circle 5
    HollowCircle7 = 17,              ///< hollow circle 7
    Chequer = 18,                    ///< chequer 7 by 7
    HollowDiamond = 19,              ///< hollow diamond, radius 3
    CaretUp3 = 20,                   ///< caret pointing up, 3
    CaretUp4 = 21,                   ///< caret pointing up, 4
    CaretDown3 = 22,                 ///< caret pointing down, 3
    CaretDown4 = 23,                 ///< caret pointing down, 4
    FilledCircle7 = 24,              ///< filled circle 7
    BoldDiagonalCross = 25,          ///< x drawn three pixels wide
    FilledCircle5 = 26,              ///< filled circle 5
    HollowCircle4 = 27,              ///< hollow circle 4
    FilledCircle4 = 28,              ///< filled circle 4
    FilledHalfDiamondDown2 = 29,     ///< filled lower half of a diamond, 2
    FilledHalfDiamondDown3 = 30,     ///< filled lower half of a diamond, 3
    HollowHalfDiamondDown2 = 31,     ///< hollow lower half of a diamond, 2
    HollowHalfDiamondDown3 = 32,     ///< hollow lower half of a diamond, 3
    HollowTriangleDown = 33,         ///< hollow triangle pointing down
    FilledTriangleDown = 34,         ///< filled triangle pointing down
    HollowTriangleUp = 35,           ///< hollow triangle pointing up
    FilledTriangleUp = 36,           ///< filled triangle pointing up
    InvertedT = 37,                  ///< an upside-down T standing on the point
    IBeam = 38,                      ///< I-beam
    CircleWithCross = 39,            ///< hollow circle with a plus
    HollowTriangleLeftSmall = 40,    ///< small hollow triangle pointing left
    FilledTriangleLeftSmall = 41,    ///< small filled triangle pointing left
    HollowTriangleLeft = 42,         ///< hollow triangle pointing left
    FilledTriangleLeft = 43,         ///< filled triangle pointing left
    HollowTriangleRightSmall = 44,   ///< small hollow triangle pointing right
    FilledTriangleRightSmall = 45,   ///< small filled triangle pointing right
    HollowTriangleRight = 46,        ///< hollow triangle pointing right
    FilledTriangleRight = 47,        ///< filled triangle pointing right
    SquareWithCross = 48,            ///< hollow square with a plus
    SmallSquareWithLongCross = 49,   ///< small hollow square with a long plus
    Star = 50,                       ///< eight-armed star
    Sight = 51,                      ///< gun sight
    FilledSquare = FilledSquare3,    ///< the smallest filled square (3 by 3)
    HollowSquare = HollowSquare3     ///< the smallest hollow square (3 by 3)
  };
  Q_ENUM(Symbol)

  /// How many symbols there are (numbers 0..Count-1).
  static constexpr int Count = 52;
  /// The name of symbol Number ("FilledSquare3"); empty outside 0..51.
  static QString name(int Number);
  /// The number of the symbol called Name (either spelling of an alias);
  /// -1 for an unknown name.
  static int fromName(const QString& Name);
};

}  // namespace zkw
