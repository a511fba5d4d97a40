// The interface in the desktop's language: the first of the user's languages
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as QLocale::system() reads them) that
// Kestrelia ships a translation for, with Qt's own translations for its
// standard dialogs. English is used when none matches or English comes first.
//
// A language ships as translations/kestrelia_LANG.qm (the windows and tr()
// texts) and strings/LANG/Localizable.strings (the texts looked up by their
// English key), both under the resources folder.
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

// The shipped language (as "de", "pt_BR", "zh_CN") for the user's languages
// in order of preference (BCP 47 names such as "pt-BR", "zh-Hans-CN"), or ""
// for English. A language matches its own name with or without a territory;
// Chinese needs the simplified script, so zh-TW and zh-HK stay English.
QString ChosenLanguage(const QStringList& uiLanguages, const QStringList& shipped);

// The languages of the kestrelia_LANG.qm files in folder.
QStringList ShippedLanguages(const QString& folder);

// Owns the installed translators; keep it alive as long as the application.
class InterfaceLanguage {
public:
    // Chooses the language for QLocale::system(), installs the translators and
    // adds the language's strings table over the English one already
    // installed. Returns the language, "" for English.
    QString Install(const QString& resourcesFolder);
    // The same for a given shipped language; false when its translation cannot be loaded.
    bool Install(const QString& resourcesFolder, const QString& language);

private:
    QTranslator own_;
    QTranslator qt_;
};

// "1 Megabyte", "5 Megabytes" in the interface's language (noun is the
// singular English noun, one of the counted nouns); English without a translation.
QString CountLabel(long count, const char* noun);
