#include "app/BankChoice.h"

#include "app/PathText.h"
#include "base/Platform.h"

#include <QDir>
#include <QSettings>

namespace zdawnik {

namespace {

const QString LastBankKey = QStringLiteral("bank/last");

} // namespace

std::filesystem::path InitialBank(const QString& named, const QSettings* settings,
                                  const std::filesystem::path& programDir)
{
    if (!named.isEmpty())
        return PathFromText(QDir::cleanPath(QDir::current().absoluteFilePath(named)));
    if (settings) {
        const QString last = settings->value(LastBankKey).toString();
        if (!last.isEmpty() && QDir(last).exists())
            return PathFromText(last);
    }
    return platform::JoinName(programDir, "baza");
}

void RememberBank(QSettings& settings, const std::filesystem::path& bank)
{
    settings.setValue(LastBankKey, TextFromPath(bank));
}

} // namespace zdawnik
