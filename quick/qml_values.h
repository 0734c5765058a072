/// @file
/// Numbers from QML, checked: what a QML program passes to the item's
/// operations arrives as QVariant (a number, a string, undefined, a
/// JavaScript array, a QList<qreal>). These take numbers only and say what
/// is wrong with anything else, naming the argument.
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace zkw {

/// A single number: true and Value set for a finite number; otherwise
/// false and Why says which argument (Name) is not one.
bool QmlNumber(const QVariant& Arg, double& Value, QString& Why, const QString& Name);
/// An array of numbers (a JavaScript array, a QVariantList, a QList<qreal>
/// or QList<int>): true and Values set when every element is a finite
/// number; otherwise false and Why names the argument and the element.
bool QmlNumbers(const QVariant& Arg, std::vector<double>& Values, QString& Why, const QString& Name);

}  // namespace zkw
