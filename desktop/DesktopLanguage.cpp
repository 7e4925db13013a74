// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/DesktopLanguage.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace {

// The libraries whose texts a desktop user reads: port diagnoses, the upload dialog, the CSV
// headings, the logbook's messages and columns.
const QStringList LibraryCatalogues{QStringLiteral("linkhub"), QStringLiteral("outpost"),
                                    QStringLiteral("logbook")};

// A missing catalogue leaves its texts in English; the user sees nothing of it.
void installCatalogue(const QString &name, const QLocale &locale, const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), folder)) {
        QCoreApplication::installTranslator(translator);
        qDebug() << "catalogue" << translator->filePath();
    } else {
        delete translator;
    }
}

} // namespace

QString DesktopLanguage::catalogueFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/pacerow/translations"));
}

void DesktopLanguage::install(const QString &program, const QLocale &locale, const QString &folder)
{
    installCatalogue(QStringLiteral("qtbase"), locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    installCatalogue(program, locale, folder);
    for (const QString &library : LibraryCatalogues)
        installCatalogue(library, locale, folder);
}
