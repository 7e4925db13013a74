// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QWidget>

/// The visible labels, buttons and group boxes in the window whose text the widget cannot show
/// whole, each as "objectName: text". A word-wrapped label is cut off when its lines need more
/// height than it has; any other text when it needs more width.
inline QStringList textsCutOff(const QWidget &window)
{
    QStringList cutOff;
    const auto check = [&](const QWidget *widget, const QString &text, bool fits) {
        if (!fits && widget->isVisibleTo(&window) && !text.isEmpty())
            cutOff << widget->objectName() + QStringLiteral(": ") + text;
    };
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width();
        check(label, label->text(), fits);
    }
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        check(button, button->text(), button->sizeHint().width() <= button->width());
    for (const QGroupBox *group : window.findChildren<QGroupBox *>())
        check(group, group->title(), group->minimumSizeHint().width() <= group->width());
    return cutOff;
}
