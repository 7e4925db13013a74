// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QWizardPage>

#include <memory>

class ComConnection;
class FieldLimitValidator;
class QLineEdit;
struct UnitFactors;

namespace Ui {
class ChangeValuesPage;
}

/// Page 3: shows the chosen bike's values of the day in the device's units, lets the user switch
/// units and correct them, and writes the shown values back into the connection's record on Next.
/// Nothing is sent to the device.
class ChangeValuesPage : public QWizardPage
{
    Q_OBJECT
    /// Whether the user changed a value of the ride on this page (wizard field "valuesCorrected").
    Q_PROPERTY(bool valuesCorrected READ valuesCorrected)

public:
    /// The connection stays the caller's.
    explicit ChangeValuesPage(ComConnection *connection, QWidget *parent = nullptr);
    ~ChangeValuesPage() override;

    void initializePage() override;
    /// Stores the shown values; never blocks Next.
    bool validatePage() override;

    bool valuesCorrected() const { return corrected; }

private slots:
    void onChangeValues();
    void onSystemChanged(bool metric);

private:
    void setEditable(bool editable);
    int bikeIndex() const;
    /// Shows the unit-bearing values and their units in metric or imperial units and makes the
    /// edits check against them.
    void useUnits(bool metric);
    void fillUnitFields();
    void showUnitNames(bool metric);
    /// Whether the user changed the text since the page filled it in.
    bool isEdited(const QLineEdit *edit) const;
    FieldLimitValidator *attachValidator(QLineEdit *edit, const QString &pattern, double largestStored);

    std::unique_ptr<Ui::ChangeValuesPage> ui;
    ComConnection *connection;
    const UnitFactors *shownUnits;
    // What the page put into each unit-bearing field: a field still showing it was not edited
    // and keeps the record's exact value, which its rounded text would not give back.
    QHash<const QLineEdit *, QString> filledTexts;
    FieldLimitValidator *distanceValidator = nullptr;
    FieldLimitValidator *avgSpeedValidator = nullptr;
    FieldLimitValidator *maxSpeedValidator = nullptr;
    FieldLimitValidator *altGainValidator = nullptr;
    FieldLimitValidator *altLossValidator = nullptr;
    FieldLimitValidator *altMaxValidator = nullptr;
    bool corrected = false;
};
