#pragma once

#include "base/prompt.h"

#include <QList>
#include <QString>

// Answers message boxes from a script and records every one shown. A box
// that the script does not expect, or an expected box that never shows,
// fails the test.
class ScriptedPrompt : public Prompt {
public:
    struct Box {
        Icon icon;
        QString caption;
        QString text;
        // A question's button for Enter; Yes for a message.
        DefaultButton defaultButton = Yes;
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;
    ScriptedPrompt(const ScriptedPrompt&) = delete;
    ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

    // The next box must hold text (in full, or as a part when partial); a
    // question is answered with answer.
    void expect(const QString& text, bool answer = true, bool partial = false);
    // The same, answered with the question's default button (Enter).
    void expectEnter(const QString& text, bool partial = false);
    // The next box must be the question about unsaved data holding text,
    // answered with answer.
    void expectSaveQuestion(const QString& text, SaveAnswer answer);

    // Every box shown so far.
    const QList<Box>& shown() const { return m_shown; }

    // Boxes still expected.
    qsizetype pending() const { return m_script.size(); }

    void message(Icon icon, const QString& caption, const QString& text) override;
    using Prompt::question;
    bool question(const QString& caption, const QString& text,
                  DefaultButton defaultButton) override;
    SaveAnswer askToSave(const QString& caption, const QString& text) override;

private:
    struct Step {
        QString text;
        bool answer = false;
        bool partial = false;
        bool enter = false;      // answer with the default button
        bool asksToSave = false; // the question about unsaved data
        SaveAnswer saveAnswer = SaveAnswer::Cancel;
    };
    bool take(const Box& box);

    QList<Step> m_script;
    QList<Box> m_shown;
};
