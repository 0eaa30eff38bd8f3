#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QDoubleSpinBox;
class QSpinBox;

namespace lendora {

// What the label and card windows say of their stocks and numbers.

// The clerk's name of a stock (LabelStock::id), "custom" included.
QString stockName(const QString &id);
// Numbers not found, as a message names them: the first few, and how many in all.
QString numbersSaid(const QStringList &numbers);
// Boxes of a sheet's measures, in millimetres, and of its rows and columns.
void setUpMeasures(const QList<QDoubleSpinBox *> &millimetres, const QList<QSpinBox *> &counts);

}  // namespace lendora
