// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/UploadCommand.h"

#include "outpost/SporticsUploader.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/InterruptWatcher.h"
#include "tools/velotool/PasswordPrompt.h"

#include <QEventLoop>
#include <QFile>
#include <QSslCertificate>

namespace {

constexpr int FitSignatureOffset = 8;
constexpr int ProgressStepPercent = 10;

bool looksLikeFit(const QByteArray &bytes)
{
    return bytes.size() >= 14 && bytes.mid(FitSignatureOffset, 4) == ".FIT";
}

} // namespace

QString UploadCommand::summary()
{
    return tr("Uploads a FIT file to the Sportics portal with your portal credentials.");
}

int UploadCommand::run(const QStringList &arguments)
{
    CommandParser command(
        QStringLiteral("upload"),
        QStringLiteral("velotool upload FILE.fit --user NAME [--server URL] [--ca-certificates FILE] "
                       "[--password-stdin] [options]"),
        summary() + QLatin1Char('\n')
            + tr("The password is asked for on the terminal without being shown, or read as the first line of "
                 "standard input with --password-stdin; it is never taken from the command line. Only https:// "
                 "servers are used, with their certificate verified. The server is %1 unless the settings key "
                 "\"%2\" or --server names another.")
                  .arg(SporticsUploader::DefaultServer, SporticsUploader::ServerSettingsKey));
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption userOption(QStringLiteral("user"), tr("Your user name at the portal."), tr("NAME"));
    const QCommandLineOption serverOption(QStringLiteral("server"), tr("The portal's upload server (https only)."),
                                          tr("URL"));
    const QCommandLineOption caOption(QStringLiteral("ca-certificates"),
                                      tr("Trusts only the certificate authorities in this PEM file."), tr("FILE"));
    const QCommandLineOption stdinOption(QStringLiteral("password-stdin"),
                                         tr("Reads the password from the first line of standard input."));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"),
                                           tr("Gives up when no data moves for this long (default %1).")
                                               .arg(std::chrono::duration_cast<std::chrono::seconds>(
                                                        SporticsUploader::DefaultTransferTimeout)
                                                        .count()),
                                           tr("SECONDS"));
    parser.addOptions({userOption, serverOption, caOption, stdinOption, timeoutOption});
    parser.addPositionalArgument(QStringLiteral("FILE.fit"), tr("The FIT file to upload."));
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);

    const auto fail = [this](const ToolFailure &failure) {
        m_console.error(failure.message);
        return int(failure.status);
    };
    if (const auto failure = command.expectPositional(1, tr("Name the FIT file to upload.")))
        return fail(*failure);
    if (!parser.isSet(userOption) || parser.value(userOption).isEmpty())
        return fail(command.usageError(tr("Name your portal user with --user NAME.")));

    SporticsUploader uploader;
    if (parser.isSet(serverOption))
        uploader.setServer(QUrl(parser.value(serverOption)));
    if (uploader.server().scheme() != QLatin1String("https") || uploader.server().host().isEmpty())
        return fail(command.usageError(tr("The server must be an https:// address, not \"%1\": the credentials are "
                                          "never sent unencrypted.")
                                           .arg(uploader.server().toString())));
    if (parser.isSet(caOption)) {
        const QList<QSslCertificate> authorities = QSslCertificate::fromPath(parser.value(caOption));
        if (authorities.isEmpty())
            return fail(command.usageError(tr("No PEM certificate found in \"%1\".").arg(parser.value(caOption))));
        uploader.setCaCertificates(authorities);
    }
    if (parser.isSet(timeoutOption)) {
        bool isNumber = false;
        const double seconds = parser.value(timeoutOption).toDouble(&isNumber);
        if (!isNumber || seconds <= 0 || seconds > 3600)
            return fail(command.usageError(
                tr("The time-out must be a number of seconds up to 3600, not \"%1\".").arg(parser.value(timeoutOption))));
        uploader.setTransferTimeout(std::chrono::milliseconds(qint64(seconds * 1000)));
    }

    const QString path = parser.positionalArguments().constFirst();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail({ExitStatus::InputUnreadable, tr("Cannot read %1: %2.").arg(path, file.errorString())});
    const QByteArray fit = file.readAll();
    if (!looksLikeFit(fit))
        return fail({ExitStatus::InputUnreadable, tr("%1 is not a FIT file.").arg(path)});

    const QString user = parser.value(userOption);
    const std::optional<QString> password = parser.isSet(stdinOption)
        ? PasswordPrompt::fromStandardInput()
        : PasswordPrompt::fromTerminal(tr("Portal password for %1: ").arg(user));
    if (!password)
        return fail(command.usageError(parser.isSet(stdinOption)
                                           ? tr("No password on standard input.")
                                           : tr("There is no terminal to ask for the password on; pipe it in with "
                                                "--password-stdin.")));

    if (const auto failure = post(uploader, user, *password, fit))
        return fail(*failure);
    m_console.print(tr("Uploaded %1 to %2 (HTTP status 201)").arg(path, SporticsUploader::uploadUrl(uploader.server()).toDisplayString()));
    return int(ExitStatus::Success);
}

std::optional<ToolFailure> UploadCommand::post(SporticsUploader &uploader, const QString &user,
                                               const QString &password, const QByteArray &fit)
{
    const QUrl url = SporticsUploader::uploadUrl(uploader.server());
    m_console.progress(tr("Uploading %1 bytes to %2...").arg(fit.size()).arg(url.toDisplayString()));
    int shownPercent = -ProgressStepPercent;
    QObject::connect(&uploader, &SporticsUploader::uploadProgress, [&](qint64 sent, qint64 total) {
        const int percent = total > 0 ? int(sent * 100 / total) : 0;
        if (percent - shownPercent < ProgressStepPercent && percent < 100)
            return;
        shownPercent = percent;
        m_console.progress(tr("Sent %1 of %2 bytes (%3 %)").arg(sent).arg(total).arg(percent));
    });

    QEventLoop loop;
    InterruptWatcher interrupts;
    bool complete = false;
    QObject::connect(&uploader, &SporticsUploader::uploadComplete, &loop, [&] {
        complete = true;
        loop.quit();
    });
    QObject::connect(&uploader, &SporticsUploader::uploadFailed, &loop, &QEventLoop::quit);
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &loop, [&] {
        uploader.abort();
        loop.quit();
    });
    uploader.uploadInternal(user, password, fit);
    loop.exec();

    if (complete)
        return std::nullopt;
    if (interrupts.wasInterrupted())
        return ToolFailure{ExitStatus::Interrupted, tr("Interrupted; the upload was stopped.")};
    const UploadOutcome outcome = uploader.lastOutcome();
    if (outcome.httpStatus != 0)
        return ToolFailure{ExitStatus::PortalRefused,
                           tr("The portal refused the upload with HTTP status %1 (%2). Check your user name and "
                              "password.")
                               .arg(outcome.httpStatus)
                               .arg(outcome.errorText)};
    return ToolFailure{ExitStatus::PortalUnreachable,
                       tr("The upload failed: %1 Nothing was stored at the portal.").arg(
                           outcome.errorText.endsWith(QLatin1Char('.')) ? outcome.errorText : outcome.errorText + QLatin1Char('.'))};
}
