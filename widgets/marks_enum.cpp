#include "widgets/marks_enum.h"

#include <QMetaEnum>

namespace zkw {

QString Mark::name(int Number) {
  if (Number < 0 || Number >= Count) return {};
  // The first key of a value is its sized name; the aliases come last.
  return QString::fromLatin1(QMetaEnum::fromType<Symbol>().valueToKey(Number));
}

int Mark::fromName(const QString& Name) {
  bool Ok = false;
  const int V = QMetaEnum::fromType<Symbol>().keyToValue(Name.toLatin1().constData(), &Ok);
  return Ok ? V : -1;
}

}  // namespace zkw
