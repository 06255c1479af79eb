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
