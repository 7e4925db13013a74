// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class ComListModel;
class PortNameModel;
class PortWatch;
class QComboBox;
class QLabel;

/// The port box of the connect page and of the legacy window. It follows the cable as it is
/// plugged in or pulled out, never replaces what the user typed or chose, selects the port of the
/// last successful connection when it is listed at start or comes (or else the first listed, which
/// is the only one when there is one), takes a typed port name, and says why the list is empty.
class PortBox : public QObject
{
    Q_OBJECT

public:
    /// The box is made editable; advice shows why the list is empty, and is hidden otherwise.
    PortBox(QComboBox *box, QLabel *advice, QObject *parent = nullptr);
    ~PortBox() override;

    /// Shows the list (the caller's) and from then on follows the system's ports.
    void show(ComListModel *list);
    bool isShown() const { return m_list != nullptr; }
    /// Reloads the list as asked by the user and selects its first row.
    void refresh();
    /// The port to open: the listed row shown in the box, else the name typed into it.
    QString chosenPortName() const;
    /// Keeps port as the one to select next time.
    static void remember(const QString &port);
    static QString remembered();
    /// Why "Connect" did nothing.
    static QString nothingToOpenText();

private:
    /// The list changed under the user's hands: reload it, keeping their text or choice.
    void follow();
    void selectPreferred();
    void updateAdvice();
    /// Whether the box shows one of the listed rows, rather than typed text or nothing.
    bool showsListedRow() const;

    QComboBox *m_box;
    QLabel *m_advice;
    PortNameModel *m_names;
    ComListModel *m_list = nullptr;
    std::unique_ptr<PortWatch> m_watch;
};
