#pragma once

#include <QString>

// Every message box of the program goes through the current prompt, so that
// tests can answer them from a script.
class Prompt {
public:
    enum class Icon { Information, Question, Warning, Error };
    // The button a question answers with on Enter. A question whose Yes
    // deletes or overwrites data defaults to No; Esc always answers No.
    enum DefaultButton { Yes, No };

    virtual ~Prompt() = default;

    // A message with an OK button; returns when it is closed.
    virtual void message(Icon icon, const QString& caption, const QString& text) = 0;

    // A question with Yes and No buttons; true on Yes.
    virtual bool question(const QString& caption, const QString& text,
                          DefaultButton defaultButton) = 0;
    // A question whose Yes harms nothing, answered Yes on Enter.
    bool question(const QString& caption, const QString& text) {
        return question(caption, text, Yes);
    }

    // The answers to a question about typed data not yet saved.
    enum class SaveAnswer { Save, Discard, Cancel };
    // A question with the buttons 儲存, 不儲存 and 取消: Enter answers 儲存
    // and Esc 取消. A prompt that cannot ask answers 取消, which keeps the
    // typed data.
    virtual SaveAnswer askToSave(const QString& caption, const QString& text);

    // The prompt in use: message boxes unless another was installed.
    static Prompt& current();

    // Installs a prompt (not owned); nullptr restores the message boxes.
    static void install(Prompt* prompt);
};

// An information box with the message table's caption.
void InfoBox(const QString& text);

// A Yes/No question with the message table's caption; true on Yes.
bool ConfirmBox(const QString& text, Prompt::DefaultButton defaultButton = Prompt::Yes);
