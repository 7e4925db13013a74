// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ComConnection.h"

#include <QList>
#include <QObject>

/// Records what a ComConnection reports, on the test's thread and in the order reported.
/// Every signal is taken through queued delivery, as the application takes it, so that
/// reports made on the link's worker threads are never read while being written.
class LinkRecorder
{
public:
    struct Report
    {
        ConnectionState state;
        ErrorMessage error;
        bool operator==(const Report &other) const { return state == other.state && error == other.error; }
    };

    explicit LinkRecorder(ComConnection &connection)
    {
        QObject::connect(&connection, &ComConnection::connectionStateChanged, &context,
                         [this](ConnectionState state, ErrorMessage error) { states.append({state, error}); },
                         Qt::QueuedConnection);
        QObject::connect(&connection, &ComConnection::modelDataUpdate, &context,
                         [this](ModelData *data, int bits) {
                             updates.append(bits);
                             record = data;
                         },
                         Qt::QueuedConnection);
    }

    bool hasState(ConnectionState state, ErrorMessage error = NoError) const
    {
        return states.contains(Report{state, error});
    }
    ConnectionState lastState() const { return states.isEmpty() ? Closed : states.last().state; }
    bool hasUpdate(int bits) const { return updates.contains(bits); }

    void clear()
    {
        states.clear();
        updates.clear();
    }

    QList<Report> states;
    QList<int> updates;
    ModelData *record = nullptr; ///< the record named by the latest update

private:
    QObject context; // lives on the test's thread, so the slots run there
};

inline char *toString(const LinkRecorder::Report &report)
{
    return qstrdup(QByteArray::number(int(report.state)).append('/').append(QByteArray::number(int(report.error))));
}
