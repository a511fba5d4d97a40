// The shipped languages: every key of the strings table and every text of the
// interface files has an entry in each, and the language follows the user's.
#include "format/ByteText.h"
#include "format/Localization.h"
#include "shell/StringsTable.h"
#include "shell/UserLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {
const QString kResources = QStringLiteral(KESTRELIA_SOURCE_DIR "/resources");

QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Placeholders and the leading space or line break some texts are joined with.
QStringList Placeholders(const QString& text)
{
    QStringList found{text.left(1).trimmed().isEmpty() ? text.left(1) : QString()};
    for (const auto& match : QRegularExpression(QStringLiteral("%[0-9nsd]")).globalMatch(text)) found << match.captured();
    found.sort();
    return found;
}

// "class\ntext" of every translatable string of the interface files.
QSet<QString> InterfaceTexts()
{
    QSet<QString> texts;
    for (const QString& name : QDir(kResources + "/ui").entryList({QStringLiteral("*.ui")})) {
        QXmlStreamReader xml(ReadAll(kResources + "/ui/" + name));
        QString form;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == u"class" && form.isEmpty()) form = xml.readElementText();
            else if (xml.name() == u"string" && xml.attributes().value(QLatin1String("notr")) != QLatin1String("true"))
                if (const QString text = xml.readElementText(); !text.trimmed().isEmpty())  // blanks are not translated
                    texts.insert(form + '\n' + text);
        }
    }
    return texts;
}
}  // namespace

TEST(Languages, EveryKeyAndInterfaceTextHasAnEntryInEveryShippedLanguage)
{
    const auto english = ParseStringsTable(ReadAll(kResources + "/strings/Localizable.strings").toStdString());
    const QSet<QString> interface = InterfaceTexts();
    ASSERT_GT(english.size() + interface.size(), 120u);
    const QStringList shipped = ShippedLanguages(QStringLiteral(KESTRELIA_SHARE_DIR "/translations"));
    EXPECT_EQ(shipped.size(), 9);
    for (const QString& language : shipped) {
        const auto table = ParseStringsTable(
            ReadAll(kResources + "/strings/" + language + "/Localizable.strings").toStdString());
        for (const auto& [key, text] : english) {
            const auto found = table.find(key);
            ASSERT_NE(found, table.end()) << language.toStdString() << ": " << key;
            EXPECT_EQ(Placeholders(QString::fromStdString(found->second)), Placeholders(QString::fromStdString(key)))
                << language.toStdString() << ": " << found->second;
        }
        // The compiled translation, which holds finished entries only.
        QTranslator compiled;
        ASSERT_TRUE(compiled.load("kestrelia_" + language, QStringLiteral(KESTRELIA_SHARE_DIR "/translations")));
        for (const QString& text : interface) {
            const QString translated =
                compiled.translate(text.section('\n', 0, 0).toUtf8(), text.section('\n', 1).toUtf8());
            ASSERT_FALSE(translated.isEmpty()) << language.toStdString() << ": " << text.toStdString();
            EXPECT_EQ(Placeholders(translated), Placeholders(text.section('\n', 1))) << translated.toStdString();
        }
    }
}

TEST(Languages, TheFirstShippedLanguageOfTheUserIsChosenAndCountsFollowIt)
{
    const QStringList shipped{"de", "fr", "ja", "pl", "pt_BR", "zh_CN"};
    const auto chosen = [&shipped](QStringList user) { return ChosenLanguage(user, shipped).toStdString(); };
    EXPECT_EQ(chosen({"de-DE", "en-US"}), "de");
    EXPECT_EQ(chosen({"en-GB", "de-DE"}), "");
    EXPECT_EQ(chosen({"nl-NL", "fr-BE"}), "fr");
    EXPECT_EQ(chosen({"pt-BR"}), "pt_BR");
    EXPECT_EQ(chosen({"pt-PT", "pt"}), "pt_BR");
    EXPECT_EQ(chosen({"zh-Hant-TW", "zh-TW", "zh-Hans-CN"}), "zh_CN");  // traditional script skipped

    EXPECT_EQ(CountLabel(1, "Megabyte"), "1 Megabyte");
    QTranslator polish;
    ASSERT_TRUE(polish.load(QStringLiteral("kestrelia_pl"), QStringLiteral(KESTRELIA_SHARE_DIR "/translations")));
    QCoreApplication::installTranslator(&polish);
    EXPECT_EQ(QStringList({CountLabel(1, "cycle"), CountLabel(3, "cycle"), CountLabel(5, "cycle")}),
              QStringList({"1 cykl", "3 cykle", "5 cykli"}));
    QCoreApplication::removeTranslator(&polish);

    // Units stay English: the drive sizes they label go into the reports.
    ASSERT_TRUE(AddStringsTable(KESTRELIA_SOURCE_DIR "/resources/strings/de/Localizable.strings"));
    char size[256];
    FormatByteSize(int64_t{3} << 30, size, true);
    EXPECT_STREQ(size, "3 Gigabytes");
    SetLocalizationLookup(nullptr);
}
