// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

/// What the desktop programs share: the language they speak. English is the language of the
/// source texts and stays wherever a catalogue for the user's language is missing.
class DesktopLanguage
{
public:
    /// The product's catalogues as installed beside the program: <bin>/../share/pacerow/translations.
    /// The build tree keeps them at the same place relative to the programs.
    static QString catalogueFolder();
    /// Installs, for the locale, Qt's own catalogue (wizard buttons, standard dialogs), the
    /// catalogue of the program named and those of the libraries, looked up in the folder given.
    /// Call it once, after the application object is made and before the first window; the
    /// catalogues live as long as the application object.
    static void install(const QString &program, const QLocale &locale = QLocale::system(),
                        const QString &folder = catalogueFolder());
};
