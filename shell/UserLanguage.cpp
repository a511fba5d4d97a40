#include "shell/UserLanguage.h"

#include "format/CountText.h"
#include "shell/StringsTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

namespace {

// The counted nouns, for lupdate: their plural forms are in the .ts files.
[[maybe_unused]] constexpr const char* kCountedNouns[] = {
    QT_TRANSLATE_N_NOOP("Counts", "%n Megabytes"),
    QT_TRANSLATE_N_NOOP("Counts", "%n zones"),
    QT_TRANSLATE_N_NOOP("Counts", "%n cycles"),
};

QString LanguageOf(const QString& shippedName)
{
    return shippedName.section(QLatin1Char('_'), 0, 0);
}

}  // namespace

QString ChosenLanguage(const QStringList& uiLanguages, const QStringList& shipped)
{
    for (const QString& name : uiLanguages) {
        const QLocale locale(name);
        if (locale.language() == QLocale::English)
            return {};
        if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
            continue;
        const QString underscored = QString(name).replace(QLatin1Char('-'), QLatin1Char('_'));
        const QString code = QLocale::languageToCode(locale.language());
        if (locale.language() == QLocale::Chinese) {
            if (locale.script() == QLocale::SimplifiedHanScript && shipped.contains(QStringLiteral("zh_CN")))
                return QStringLiteral("zh_CN");
            continue;
        }
        if (shipped.contains(underscored))
            return underscored;
        if (shipped.contains(code))
            return code;
        for (const QString& candidate : shipped)
            if (LanguageOf(candidate) == code)
                return candidate;
    }
    return {};
}

QStringList ShippedLanguages(const QString& folder)
{
    QStringList languages;
    const QStringList files = QDir(folder).entryList({QStringLiteral("kestrelia_*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        languages << file.mid(10, file.size() - 13);  // between "kestrelia_" and ".qm"
    return languages;
}

QString InterfaceLanguage::Install(const QString& resourcesFolder)
{
    const QString language = ChosenLanguage(QLocale::system().uiLanguages(),
                                            ShippedLanguages(resourcesFolder + QStringLiteral("/translations")));
    return !language.isEmpty() && Install(resourcesFolder, language) ? language : QString();
}

bool InterfaceLanguage::Install(const QString& resourcesFolder, const QString& language)
{
    if (!own_.load(QStringLiteral("kestrelia_") + language, resourcesFolder + QStringLiteral("/translations")))
        return false;
    QCoreApplication::installTranslator(&own_);
    // Qt's standard dialogs and buttons; without Debian's qt6-translations-l10n they stay English.
    if (qt_.load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_);
    AddStringsTable((resourcesFolder + QStringLiteral("/strings/") + language + QStringLiteral("/Localizable.strings"))
                        .toStdString());
    return true;
}

QString CountLabel(long count, const char* noun)
{
    const QByteArray source = QByteArray("%n ") + noun + "s";
    const QString translated = QCoreApplication::translate("Counts", source.constData(), nullptr, static_cast<int>(count));
    // Untranslated, translate() gives the source with the number in it: English has its own singular.
    if (translated == QString::fromLatin1(source).replace(QStringLiteral("%n"), QString::number(count)))
        return QString::fromStdString(CountText(count, noun));
    return translated;
}
