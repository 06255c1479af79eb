#pragma once

#include <QString>

// The texts whose language follows the system locale: Traditional Chinese for
// Taiwan, Simplified Chinese for mainland China. Filled once at start-up.
struct MessageTable {
    QString CaptionHint;
    QString LoginTitle;
    QString LoginUserIdLabel;
    QString LoginPasswordLabel;
    QString ButtonOk;
    QString ButtonCancel;
    QString MsgUserIdEmpty;
    QString MsgPasswordEmpty;
    QString MsgLoginFailed;

    static constexpr int TraditionalLocale = 1028; // zh_TW
    static constexpr int SimplifiedLocale = 2052;  // zh_CN

    // Fills every entry for the locale identifier. Any identifier other than
    // the Simplified one gets the Traditional set, so no window is left with
    // empty captions.
    void fill(int localeId);

    // The table of this run.
    static MessageTable& current();
};

// The locale identifier from a POSIX locale name such as "zh_TW.UTF-8":
// 1028 for zh_TW, 2052 for zh_CN, 0 for anything else.
int localeIdFromName(const QString& localeName);

// The system locale identifier, read from LC_ALL, LC_MESSAGES and LANG (the
// first that is set).
int systemLocaleId();
