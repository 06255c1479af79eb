#include "tests/support/scripted_prompt.h"

#include <gtest/gtest.h>

ScriptedPrompt::ScriptedPrompt() {
    Prompt::install(this);
}

ScriptedPrompt::~ScriptedPrompt() {
    Prompt::install(nullptr);
    for (const Step& step : m_script)
        ADD_FAILURE() << "expected message box never shown: " << step.text.toStdString();
}

void ScriptedPrompt::expect(const QString& text, bool answer, bool partial) {
    m_script.append({text, answer, partial});
}

void ScriptedPrompt::expectEnter(const QString& text, bool partial) {
    m_script.append({text, false, partial, true});
}

void ScriptedPrompt::expectSaveQuestion(const QString& text, SaveAnswer answer) {
    m_script.append({text, false, false, false, true, answer});
}

bool ScriptedPrompt::take(const Box& box) {
    m_shown.append(box);
    if (m_script.isEmpty()) {
        ADD_FAILURE() << "unexpected message box: " << box.caption.toStdString() << ": "
                      << box.text.toStdString();
        return false;
    }
    const Step step = m_script.takeFirst();
    const bool matches = step.partial ? box.text.contains(step.text) : box.text == step.text;
    if (!matches) {
        ADD_FAILURE() << "message box shows \"" << box.text.toStdString() << "\", expected \""
                      << step.text.toStdString() << "\"";
    }
    return step.enter ? box.defaultButton == Yes : step.answer;
}

void ScriptedPrompt::message(Icon icon, const QString& caption, const QString& text) {
    take({icon, caption, text});
}

bool ScriptedPrompt::question(const QString& caption, const QString& text,
                              DefaultButton defaultButton) {
    return take({Icon::Question, caption, text, defaultButton});
}

// The question about unsaved data defaults to 儲存 (shown as Yes).
Prompt::SaveAnswer ScriptedPrompt::askToSave(const QString& caption, const QString& text) {
    const Step next = m_script.isEmpty() ? Step{} : m_script.first();
    const bool yes = take({Icon::Question, caption, text, Yes});
    if (next.enter)
        return SaveAnswer::Save;
    if (next.asksToSave)
        return next.saveAnswer;
    ADD_FAILURE() << "the question about unsaved data was answered as a yes/no question: "
                  << text.toStdString();
    return yes ? SaveAnswer::Save : SaveAnswer::Cancel;
}
