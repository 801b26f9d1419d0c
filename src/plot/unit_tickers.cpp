// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/unit_tickers.h"

#include "bode/significant_format.h"

#include <cmath>

namespace kelvor::plot {
namespace {

QString Label(double tick, const QString& unit) {
    return QString::fromStdString(FormatAxisLabel(tick, unit.toStdString()));
}

} // namespace

QString LogUnitTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    return Label(tick, unit_);
}

QVector<double> LinearUnitTicker::createTickVector(double tickStep, const QCPRange& range) {
    step_ = tickStep;
    return QCPAxisTicker::createTickVector(tickStep, range);
}

QString LinearUnitTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    // The tick at zero carries the rounding of the range arithmetic: "0", not "1e-25".
    return Label(std::fabs(tick) < step_ * 1e-6 ? 0.0 : tick, unit_);
}

} // namespace kelvor::plot
