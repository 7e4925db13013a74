// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDoubleSpinBox>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

/// What a value box gives back for the record field it shows. A box clamps a value beyond its
/// range, and the clamped value is no reading of the device: while the box still shows the
/// record's value as it was set, the record's own value stands, so that the export leaves a value
/// the file cannot hold out with a warning instead of writing the box's largest value.
namespace ShownValue {

template <typename Field>
Field keptOrTyped(const QSpinBox *box, Field recorded)
{
    const qint64 asShown = std::clamp<qint64>(qint64(recorded), box->minimum(), box->maximum());
    return box->value() == asShown ? recorded : static_cast<Field>(box->value());
}

/// For a box that shows the field divided by `scale`; a typed value is truncated toward zero.
template <typename Field>
Field keptOrTyped(const QDoubleSpinBox *box, Field recorded, double scale)
{
    const double asShown = std::clamp(double(recorded) / scale, box->minimum(), box->maximum());
    const double step = std::pow(10.0, -box->decimals());
    if (std::abs(box->value() - asShown) < step / 2)
        return recorded;
    return static_cast<Field>(std::trunc(box->value() * scale));
}

} // namespace ShownValue
