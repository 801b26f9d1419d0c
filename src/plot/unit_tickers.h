// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <qcustomplot.h>

namespace kelvor::plot {

// Tick labels with an SI prefix and the unit: "100 kHz", "2 us", "10 kohm".
class LogUnitTicker : public QCPAxisTickerLog {
public:
    explicit LogUnitTicker(QString unit) : unit_(std::move(unit)) {}

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

private:
    QString unit_;
};

class LinearUnitTicker : public QCPAxisTicker {
public:
    explicit LinearUnitTicker(QString unit) : unit_(std::move(unit)) {}

protected:
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

private:
    QString unit_;
    double step_ = 0;
};

} // namespace kelvor::plot
