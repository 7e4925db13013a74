// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/PortBox.h"

#include "velodesk/PortNameModel.h"

#include "linkhub/ComListModel.h"
#include "linkhub/PortDiagnosis.h"
#include "linkhub/PortWatch.h"
#include "linkhub/UsbBridge.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

namespace {
const QString lastPortKey = QStringLiteral("port/last");
}

PortBox::PortBox(QComboBox *box, QLabel *advice, QObject *parent)
    : QObject(parent), m_box(box), m_advice(advice), m_names(new PortNameModel(this))
{
    // Bridges the list does not know (and pseudo-terminals) are opened by a typed name.
    m_box->setEditable(true);
    m_box->setInsertPolicy(QComboBox::NoInsert);
    m_box->lineEdit()->setPlaceholderText(tr("Port name"));
    m_box->setModel(m_names);
    m_advice->setWordWrap(true);
    m_advice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_advice->hide();
}

PortBox::~PortBox() = default;

void PortBox::show(ComListModel *list)
{
    m_list = list;
    m_names->setSourceModel(list);
    selectPreferred();
    updateAdvice();
    QList<QextPortInfo> listed;
    for (int row = 0; row < list->rowCount(); ++row)
        listed.append(list->getPort(row));
    m_watch = std::make_unique<PortWatch>(listed);
    connect(m_watch.get(), &PortWatch::portsChanged, this, &PortBox::follow);
}

void PortBox::refresh()
{
    m_list->refresh();
    // As the connect page always did on "Refresh": the first row.
    m_box->setCurrentIndex(m_list->rowCount() > 0 ? 0 : -1);
    updateAdvice();
}

bool PortBox::showsListedRow() const
{
    const int row = m_box->currentIndex();
    return m_list && row >= 0 && row < m_list->rowCount() && m_box->currentText().trimmed() == m_box->itemText(row);
}

QString PortBox::chosenPortName() const
{
    if (showsListedRow())
        return m_list->getPort(m_box->currentIndex()).portName;
    return m_box->currentText().trimmed();
}

void PortBox::follow()
{
    const QString shown = m_box->currentText();
    const bool listed = showsListedRow();
    m_list->refresh();
    if (shown.trimmed().isEmpty()) {
        selectPreferred();
    } else {
        // A chosen port that went stays in the box: opening it then says that it is missing.
        const int row = listed ? m_box->findText(shown) : -1;
        m_box->setCurrentIndex(row);
        if (row < 0)
            m_box->setEditText(shown);
    }
    updateAdvice();
}

void PortBox::selectPreferred()
{
    const QString last = remembered();
    const int row = last.isEmpty() ? -1 : m_box->findText(last);
    m_box->setCurrentIndex(row >= 0 ? row : (m_list->rowCount() > 0 ? 0 : -1));
}

void PortBox::updateAdvice()
{
    if (m_list->rowCount() > 0) {
        m_advice->hide();
        return;
    }
    m_advice->setText(PortDiagnosis::emptyListReason() + QLatin1Char(' ') + UsbBridge::recognisedText()
                      + QLatin1Char(' ') + tr("The port of another bridge can be typed into the box."));
    m_advice->show();
}

void PortBox::remember(const QString &port)
{
    QSettings().setValue(lastPortKey, port);
}

QString PortBox::remembered()
{
    return QSettings().value(lastPortKey).toString();
}

QString PortBox::nothingToOpenText()
{
    return tr("Nothing to connect to: no port is listed or typed. Plug in the cable, or type the port's name.");
}
