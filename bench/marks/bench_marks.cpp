// SPDX-License-Identifier: MIT
// How long the main window takes from a caret move (or the pointer entering a result) to the
// marks drawn, on the offscreen platform: the handler, and the repaint the event loop then
// does. Pastes: the worked example, and three of 65,536 characters (the most the input box
// holds): the example repeated, one single word, and the example on 500 lines.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QTextCursor>

#include "tests/ui/MainWindowHarness.h"

namespace {

using namespace quillmark;
using namespace quillmark::test;

QString Paste(int kind) {
    const QString example = kWorkedExample;
    QString text;
    switch (kind) {
        case 0: return example;
        case 1:
            while (text.size() < 65536) text += example + QLatin1Char(' ');
            break;
        case 2: text = QString(65536, QLatin1Char('A')); break;
        default:
            while (text.size() < 65536) text += example + QLatin1Char('\n');
            break;
    }
    text.truncate(65536);
    return text;
}

const char* PasteName(int kind) {
    static const char* names[] = {"worked example", "65536: example repeated", "65536: one word",
                                  "65536: example on lines"};
    return names[kind];
}

struct Window {
    explicit Window(int kind, bool decoded = true) {
        h.window->show();
        h.setText(Paste(kind));
        if (decoded) h.window->cmdDebug_Click();
        QCoreApplication::processEvents();
    }
    MainWindowHarness h;
};

// The same moves in a box that was not decoded: what the text box itself costs.
void MoveCaret(benchmark::State& state, bool decoded) {
    Window w(static_cast<int>(state.range(0)), decoded);
    ui::InputBox* box = w.h.input();
    // Through word 2 and into word 3: every step changes the framed results.
    const int positions[] = {13, 15, 22, 24, 10};
    std::size_t i = 0;
    for (auto _ : state) {
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(positions[i++ % std::size(positions)]);
        box->setTextCursor(cursor);
        QCoreApplication::processEvents();  // the repaint of the frames
    }
    state.SetLabel(PasteName(static_cast<int>(state.range(0))));
}

void MoveCaretMarked(benchmark::State& state) { MoveCaret(state, true); }
void MoveCaretUnmarked(benchmark::State& state) { MoveCaret(state, false); }

void EnterResult(benchmark::State& state) {
    Window w(static_cast<int>(state.range(0)));
    QLabel* labels[] = {w.h.result(Field::CallRegister), w.h.result(Field::TermType)};
    std::size_t i = 0;
    for (auto _ : state) {
        QLabel* label = labels[i++ % 2];
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(label, &enter);
        QCoreApplication::processEvents();  // the repaint of the input box
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
    }
    state.SetLabel(PasteName(static_cast<int>(state.range(0))));
}

void Decode(benchmark::State& state) {
    Window w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        w.h.window->cmdDebug_Click();
        QCoreApplication::processEvents();
    }
    state.SetLabel(PasteName(static_cast<int>(state.range(0))));
}

BENCHMARK(MoveCaretMarked)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(MoveCaretUnmarked)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(EnterResult)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(Decode)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
