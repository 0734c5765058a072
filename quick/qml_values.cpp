#include "quick/qml_values.h"

#include <QJSValue>
#include <QList>
#include <cmath>

namespace zkw {

namespace {

// A QVariant from QML holding a JavaScript value is unwrapped first.
QVariant Unwrapped(const QVariant& Arg) {
  if (Arg.metaType() == QMetaType::fromType<QJSValue>()) return Arg.value<QJSValue>().toVariant();
  return Arg;
}

bool IsNumberType(QMetaType T) {
  switch (T.id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
      return true;
    default:
      return false;
  }
}

QString Describe(const QVariant& V) {
  if (!V.isValid()) return QStringLiteral("undefined");
  if (V.metaType().id() == QMetaType::QString) return QStringLiteral("the text \"%1\"").arg(V.toString().left(20));
  return QStringLiteral("a %1").arg(QString::fromLatin1(V.metaType().name()));
}

template <typename T>
bool FromList(const QList<T>& L, std::vector<double>& Values, QString& Why, const QString& Name) {
  Values.assign(L.begin(), L.end());
  for (std::size_t I = 0; I < Values.size(); ++I)
    if (!std::isfinite(Values[I])) {
      Why = QStringLiteral("%1[%2] is %3, not a finite number").arg(Name).arg(I).arg(Values[I]);
      return false;
    }
  return true;
}

}  // namespace

bool QmlNumber(const QVariant& Arg, double& Value, QString& Why, const QString& Name) {
  const QVariant V = Unwrapped(Arg);
  if (!IsNumberType(V.metaType())) {
    Why = QStringLiteral("%1 is %2, not a number").arg(Name, Describe(V));
    return false;
  }
  Value = V.toDouble();
  if (!std::isfinite(Value)) {
    Why = QStringLiteral("%1 is %2, not a finite number").arg(Name).arg(Value);
    return false;
  }
  return true;
}

bool QmlNumbers(const QVariant& Arg, std::vector<double>& Values, QString& Why, const QString& Name) {
  const QVariant V = Unwrapped(Arg);
  // The typed lists a C++ side hands over, without a detour through QVariant elements.
  if (V.metaType() == QMetaType::fromType<QList<double>>()) return FromList(V.value<QList<double>>(), Values, Why, Name);
  if (V.metaType() == QMetaType::fromType<QList<float>>()) return FromList(V.value<QList<float>>(), Values, Why, Name);
  if (V.metaType() == QMetaType::fromType<QList<int>>()) return FromList(V.value<QList<int>>(), Values, Why, Name);
  if (V.metaType().id() != QMetaType::QVariantList) {
    Why = QStringLiteral("%1 is %2, not an array of numbers").arg(Name, Describe(V));
    return false;
  }
  const QVariantList L = V.toList();
  Values.resize(static_cast<std::size_t>(L.size()));
  for (qsizetype I = 0; I < L.size(); ++I) {
    QString ElementWhy;
    if (!QmlNumber(L[I], Values[static_cast<std::size_t>(I)], ElementWhy, QStringLiteral("%1[%2]").arg(Name).arg(I))) {
      Why = ElementWhy;
      return false;
    }
  }
  return true;
}

}  // namespace zkw
