// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>
#include <QString>
#include <array>
#include <optional>

#include "decoder/field_catalogue.h"
#include "decoder/provenance.h"
#include "ui/main/SourceMarks.h"

class QEvent;
class QHelpEvent;
class QLabel;

namespace quillmark::ui {

class AreaMarks;
class InputBox;

// The links between the main window's results and the characters of the input box they were
// cut from, both ways: the pointer on a result or its caption marks its characters in the box;
// the caret and the selection frame the results they feed; faulty words carry a warning mark and
// their note as tooltip; each result's tooltip and accessible description say where it came
// from, and the box's description what stands at its caret. The window builds the controls and
// tells this what it decoded; this watches the controls from then on.
class ResultLinks final : public QObject {
    Q_OBJECT
public:
    // The window's controls, indexed by Field where there is one per field. They outlive this.
    struct Controls {
        InputBox* input;
        AreaMarks* areaMarks;
        std::array<QLabel*, kFieldCount> results;
        std::array<QLabel*, kFieldCount> captions;
    };

    explicit ResultLinks(const Controls& controls, QObject* parent = nullptr);

    // Where the fields of the last decode stand in the box, while it still holds that text.
    const SourceMarks& marks() const { return marks_; }

    // The box holds the text just decoded (`layout` is the decoder's reading of it): its
    // characters are marked until the text changes.
    void decoded(const TextLayout& layout, const QString& text);
    // Nothing is marked until the next decode.
    void clearMarks();

    // The results hold their new texts: their tooltips and descriptions say where each came
    // from, and the pointers' descriptions whether they differ.
    void showSources(const FieldSources& sources, bool pointersDiffer);
    // The results were cleared: no tooltips, and nothing to describe.
    void clearSources();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hoverField(std::optional<Field> field);
    void showInputMarks();
    void showCaretFields();
    bool showNoteToolTip(const QHelpEvent* help);
    void describeResults();

    Controls controls_;
    const QString inputDescription_;  // what the box says of itself with nothing marked
    SourceMarks marks_;               // empty unless the box holds the text decoded last
    std::optional<Field> hovered_;    // the result (or caption) under the pointer
    bool pointersDiffer_ = false;
    std::array<QString, kFieldCount> sourceDescriptions_;  // where each result came from
    QString caretDescription_;                             // what the box last told of its caret
};

}  // namespace quillmark::ui
