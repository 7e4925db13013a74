// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

MessageBoxAnswerer::MessageBoxAnswerer(QObject *parent) : QObject(parent)
{
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, this, &MessageBoxAnswerer::answer);
    timer.start();
}

void MessageBoxAnswerer::answer()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    seen.append({box->windowTitle(), box->text(), box->icon(), box->informativeText()});
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}
