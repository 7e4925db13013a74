// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRegularExpressionValidator>

/// An input pattern that also refuses numbers too large for the record field behind the edit,
/// so that a value never wraps when it is stored (300 bpm in an 8-bit field would become 44).
class FieldLimitValidator : public QRegularExpressionValidator
{
    Q_OBJECT

public:
    /// largestStored: the field's largest value; scale: shown value to stored value.
    FieldLimitValidator(const QString &pattern, double largestStored, double scale, QObject *parent = nullptr);

    /// Changes the factor from shown to stored value (the unit system changed).
    void setScale(double scale);
    double getScale() const { return scale; }

    State validate(QString &input, int &pos) const override;
    /// Whether the text, stored with the current scale and truncated, fits the field.
    bool fits(const QString &text) const;

private:
    double largestStored;
    double scale;
};
