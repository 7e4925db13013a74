// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvLogText.h"
#include "RawDatabase.h"
#include "outpost/FileSizeLimit.h"
#include "outpost/UnprivilegedFileAccess.h"
#include "support/FileBytes.h"

#include "linkhub/DeviceCatalogue.h"
#include "logbook/BikeRegister.h"
#include "logbook/CsvLogImporter.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookSchema.h"
#include "logbook/RideQuery.h"
#include "logbook/RideRecorder.h"
#include "tools/simulator/SampleRide.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString FixtureFolder = QStringLiteral(LOGBOOK_FIXTURES);

int rideCount(const QString &path)
{
    RawDatabase raw(path);
    return raw.value(QStringLiteral("SELECT count(*) FROM rides")).toInt();
}

} // namespace

class tst_LogbookFile : public QObject
{
    Q_OBJECT

private:
    DeviceCatalogue::Map catalogue;
    std::unique_ptr<QTemporaryDir> folder;

    QString path(const QString &name = QStringLiteral("logbook.sqlite")) const { return folder->filePath(name); }

    /// A current logbook holding the sample ride of a Lumo 60.
    void makeLogbook(const QString &file)
    {
        Logbook logbook(file);
        QVERIFY(!logbook.open());
        const std::optional<LogbookError> failure = RideRecorder(logbook).recordRead(SampleRide::forModel(catalogue.value(0x51)));
        QVERIFY2(!failure, failure ? qPrintable(failure->message()) : "");
    }

private slots:
    void initTestCase() { catalogue = DeviceCatalogue::build(); }
    void cleanupTestCase() { DeviceCatalogue::release(catalogue); }

    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
    }

    void newLogbookIsCurrentAndWriteAhead()
    {
        makeLogbook(path());
        RawDatabase raw(path());
        QCOMPARE(raw.value(QStringLiteral("PRAGMA user_version")).toInt(), LogbookSchema::CurrentVersion);
        QCOMPARE(raw.value(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(raw.value(QStringLiteral("SELECT count(*) FROM rides")).toInt(), 2);
    }

    void migratesFromOlderVersion_data()
    {
        QTest::addColumn<int>("version");
        for (int version = 1; version < LogbookSchema::CurrentVersion; ++version)
            QTest::addRow("from version %d", version) << version;
    }

    void migratesFromOlderVersion()
    {
        QFETCH(int, version);
        {
            RawDatabase raw(path());
            QVERIFY(raw.runScript(FixtureFolder + QStringLiteral("/logbook-v%1.sql").arg(version)));
        }
        {
            Logbook logbook(path());
            QVERIFY(!logbook.open());
            QList<RideEntry> rides;
            QVERIFY(!RideQuery::rides(logbook, {}, rides));
            QCOMPARE(rides.size(), 1);
            QCOMPARE(rides[0].date, QDate(2025, 6, 1));
            QCOMPARE(rides[0].value(RideValue::Distance), 41250000);
            QCOMPARE(rides[0].odometer, std::optional<quint64>(9876543210));
            QCOMPARE(rides[0].note, QString());
            QVERIFY(!rides[0].edited);
            QVERIFY(!RideRecorder(logbook).setNote(rides[0].id, QStringLiteral("Col du Galibier")));
            BikeRegister bikes(logbook);
            QVERIFY(!bikes.rename(rides[0].device, rides[0].bike, QStringLiteral("Road bike")));
            QHash<BikeRegister::Key, QString> names;
            QVERIFY(!bikes.names(names));
            QCOMPARE(names.value({rides[0].device, rides[0].bike}), QStringLiteral("Road bike"));
        }
        RawDatabase raw(path());
        QCOMPARE(raw.value(QStringLiteral("PRAGMA user_version")).toInt(), LogbookSchema::CurrentVersion);
        QCOMPARE(raw.value(QStringLiteral("SELECT note FROM rides")).toString(), QStringLiteral("Col du Galibier"));
    }

    void keepsCopyBeforeMigrating()
    {
        {
            RawDatabase raw(path());
            QVERIFY(raw.runScript(FixtureFolder + QStringLiteral("/logbook-v1.sql")));
        }
        Logbook logbook(path());
        QVERIFY(!logbook.open());
        const QString copy = logbook.backupPathBefore(1);
        QVERIFY(QFile::exists(copy));
        RawDatabase raw(copy);
        QCOMPARE(raw.value(QStringLiteral("PRAGMA user_version")).toInt(), 1);
        QCOMPARE(raw.value(QStringLiteral("SELECT distance FROM rides")).toLongLong(), 41250000);
    }

    void refusesWithoutChange_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LogbookError::Kind>("kind");
        QTest::newRow("newer version") << QByteArray("PRAGMA user_version = 99") << QByteArray()
                                       << LogbookError::Kind::Newer;
        QTest::newRow("another program's database")
            << QByteArray("CREATE TABLE photos (id INTEGER PRIMARY KEY)") << QByteArray() << LogbookError::Kind::Damaged;
        QTest::newRow("not a database") << QByteArray() << QByteArray("Unit; Date; Ride time\n").repeated(300)
                                        << LogbookError::Kind::Damaged;
    }

    void refusesWithoutChange()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, bytes);
        QFETCH(LogbookError::Kind, kind);
        if (bytes.isEmpty()) {
            if (kind == LogbookError::Kind::Newer)
                makeLogbook(path());
            RawDatabase raw(path());
            QVERIFY(raw.run(QString::fromLatin1(script)));
        } else {
            QVERIFY(FileBytes::write(path(), bytes));
        }
        const QByteArray before = FileBytes::read(path());
        const QStringList entries = QDir(folder->path()).entryList(QDir::Files);
        {
            Logbook logbook(path());
            const std::optional<LogbookError> failure = logbook.open();
            QVERIFY(failure);
            QCOMPARE(failure->kind(), kind);
            QVERIFY2(failure->message().contains(path()), qPrintable(failure->message()));
        }
        QCOMPARE(FileBytes::read(path()), before);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), entries);
    }

    void unwritableLogbookIsLeftAsItWas_data()
    {
        QTest::addColumn<bool>("folderWritable");
        QTest::newRow("read-only file") << true;
        QTest::newRow("read-only folder") << false;
    }

    void unwritableLogbookIsLeftAsItWas()
    {
        QFETCH(bool, folderWritable);
        makeLogbook(path());
        const QByteArray before = FileBytes::read(path());
        const QFile::Permissions everyoneReads = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther
            | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        const QFile::Permissions everyoneWrites = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        QVERIFY(QFile::setPermissions(folder->path(), everyoneReads | (folderWritable ? everyoneWrites : QFile::Permissions())));
        QVERIFY(QFile::setPermissions(path(), (everyoneReads & ~(QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther))
                                                  | (folderWritable ? QFile::Permissions() : everyoneWrites)));
        ModelData nextDay = SampleRide::forModel(catalogue.value(0x51));
        nextDay.day = 17;
        std::optional<LogbookError> failure;
        {
            const UnprivilegedFileAccess nobody;
            QVERIFY(nobody.isEffective());
            Logbook logbook(path());
            failure = logbook.open();
            if (!failure)
                failure = RideRecorder(logbook).recordRead(nextDay);
        }
        QVERIFY(QFile::setPermissions(folder->path(), everyoneReads | everyoneWrites));
        QVERIFY(failure);
        QVERIFY2(failure->message().contains(path()), qPrintable(failure->message()));
        QCOMPARE(FileBytes::read(path()), before);
        QCOMPARE(rideCount(path()), 2);
    }

    void fullDiskDuringImportLeavesLogbookAsItWas()
    {
        makeLogbook(path());
        const QByteArray before = FileBytes::read(path());
        QByteArray log = csvLogText(3000);
        QBuffer input(&log);
        QVERIFY(input.open(QIODevice::ReadOnly));
        std::optional<LogbookError> failure;
        ImportOutcome outcome;
        {
            Logbook logbook(path());
            QVERIFY(!logbook.open());
            QList<RideEntry> rides;
            QVERIFY(!RideQuery::rides(logbook, {}, rides));
            const FileSizeLimit limit(64 * 1024);
            failure = CsvLogImporter(logbook, 1, QString()).import(input, outcome);
        }
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LogbookError::Kind::DiskFull);
        QCOMPARE(outcome.imported, 0);
        QCOMPARE(FileBytes::read(path()), before);
        QVERIFY(!QFile::exists(path() + QStringLiteral("-wal")));
        QCOMPARE(rideCount(path()), 2);
    }
};

QTEST_GUILESS_MAIN(tst_LogbookFile)
#include "tst_logbookfile.moc"
