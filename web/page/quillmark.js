// SPDX-License-Identifier: MIT
// The page's handlers: they move text between the controls and the decoder module, exactly as
// the window's handlers move it between its controls and the decoder. Text reaches the page
// only as text (value, textContent, title), never as markup.
'use strict';
// Runs a job once the page has been drawn and has settled: when the browser is idle a quarter
// of a second from now (at the latest half a second after that), or then where it cannot tell.
// What the job adds is laid out and drawn again; sooner, on a busy machine, that held up the
// first frame's drawing and whatever came first (the first paste, click or decode).
function whenSettled(job) {
    setTimeout(() => (window.requestIdleCallback ? requestIdleCallback(job, { timeout: 500 }) : job()), 250);
}

(() => {
    // The module, started at the top of the page (loader.js), is mostly there by now.
    const loading = self.quillmarkDecoder;
    const kCharacterLimit = 65536;
    const kConfirmation = '\r\n\r\nABOVE TEXT COPIED TO CLIPBOARD';
    const kClipboardNotWritten = 'The clipboard cannot be written. Nothing was copied.';
    const kNoDecoder = 'This browser cannot run the decoder (WebAssembly): ';
    const control = (id) => document.getElementById(id);
    const txtDebugData = control('txtDebugData');
    // The result outputs in result label order, the order of the module's fields and captions,
    // and among them the digit pointers; filled when the module has told its fields.
    const results = [];
    const pointers = [];
    let SavedText = '';
    // Marks the characters each result came from (provenance.js).
    const provenance = QuillmarkProvenance(txtDebugData, results);
    // Keeps the decoded text in the address, for a link (links.js).
    const links = QuillmarkLinks({
        version: document.documentElement.dataset.version,
        open: (text) => command(() => { setInputText(text); cmdDebug_Click(); })(),
        copy: (text) => putOnClipboard(text),
    });
    // Lists the BUG messages of a whole log (logview.js); a chosen one is decoded.
    const logView = QuillmarkLogView({
        open: (text) => { setInputText(text); cmdDebug_Click(); },
        captionOf: (key) => binding.fields.find((field) => field.key === key).caption,
    });

    // ---- The decoder module ------------------------------------------------------------------

    // Wraps the module's exports: text goes in as UTF-8 through its input buffer, answers come
    // back by index.
    function Binding(module) {
        const encoder = new TextEncoder();
        // A caption may begin with U+FEFF: it is text to show, not a byte order mark to drop.
        const decoder = new TextDecoder('utf-8', { ignoreBOM: true });
        const put = (text) => {
            const bytes = encoder.encode(text);
            const at = module._WebInput(bytes.length);
            module.HEAPU8.set(bytes, at);  // read HEAPU8 after the call: memory may have grown
        };
        const take = (data, size) => decoder.decode(module.HEAPU8.subarray(data, data + size));
        const count = module._WebFieldCount();
        const texts = (data, size) => Array.from({ length: count }, (_, i) => take(data(i), size(i)));
        const part = (i, which) => take(module._WebFieldText(i, which), module._WebFieldTextSize(i, which));
        return {
            // Per field: the output's and the caption label's control names, the caption, the
            // key, and whether it is a digit pointer.
            fields: Array.from({ length: count }, (_, i) => ({
                outputName: part(i, 0),
                labelName: part(i, 1),
                caption: part(i, 2),
                key: part(i, 3),
                pointer: module._WebFieldIsPointer(i) === 1,
            })),
            decode(text) {
                put(text);
                const pointersDiffer = module._WebDecode() === 1;
                return {
                    captions: texts(module._WebCaption, module._WebCaptionSize),
                    sources: texts(module._WebSource, module._WebSourceSize),
                    pointersDiffer,
                };
            },
            trimFirstWord(text) {
                put(text);
                module._WebTrimFirstWord();
                return take(module._WebAnswer(), module._WebAnswerSize());
            },
            buildReport(captions) {
                captions.forEach((caption, i) => {
                    put(caption);
                    module._WebSetCaption(i);
                });
                module._WebBuildReport();
                return take(module._WebAnswer(), module._WebAnswerSize());
            },
        };
    }

    let binding = null;
    const ready = loading.then((module) => {
        binding = Binding(module);
        buildResultRows(binding.fields);
        provenance.useModule(module);
        logView.useModule(module);
        performance.mark('quillmark-ready');
        document.documentElement.dataset.ready = 'true';
        // The controls that neither the first paint nor the first decode need.
        whenSettled(() => {
            links.addControls();
            logView.addFileButton();
        });
    }).catch((error) => {
        // A fault while the page sets itself up around the module is told too, not left hanging.
        const status = control('status');
        status.textContent = kNoDecoder + (error && error.message ? error.message : String(error));
        status.hidden = false;
    });

    // A command runs at once when the module is there, and as soon as it is there otherwise.
    const command = (handler) => () => (binding ? handler() : ready.then(() => binding && handler()));

    // ---- Message box -------------------------------------------------------------------------

    const msgBox = control('msgBox');
    let focusBeforeMessage = null;
    function tell(text) {
        focusBeforeMessage = document.activeElement;
        control('msgText').textContent = text;
        if (!msgBox.open) msgBox.showModal();
        control('msgOk').focus();
    }
    control('msgOk').addEventListener('click', () => msgBox.close());
    msgBox.addEventListener('close', () => {
        if (focusBeforeMessage && focusBeforeMessage.focus) focusBeforeMessage.focus();
    });

    // ---- Results -----------------------------------------------------------------------------

    // One row per field: its caption label and its output. A column takes the fields from the
    // one its data-from names on.
    function buildResultRows(fields) {
        const columns = Array.from(document.querySelectorAll('.results .column'));
        let column = columns[0];
        for (const field of fields) {
            column = columns.find((candidate) => candidate.dataset.from === field.key) || column;
            const row = document.createElement('div');
            row.className = 'row';
            const label = document.createElement('label');
            label.id = field.labelName;
            label.htmlFor = field.outputName;
            label.textContent = field.caption;
            const output = document.createElement('output');
            output.id = field.outputName;
            output.setAttribute('aria-live', 'off');
            output.tabIndex = 0;  // after the buttons, in reading order: focus marks its characters
            row.append(label, output);
            column.append(row);
            results.push(output);
            if (field.pointer) pointers.push({ output, caption: field.caption });
        }
        // Each digit pointer's highlight told in words: which pointer it differs from, as the
        // window's accessible description says it.
        const said = pointers.map(({ output }, i) => Object.assign(document.createElement('p'), {
            id: differsId(output),
            hidden: true,
            textContent: `differs from ${pointers[1 - i].caption} pointer`,
        }));
        document.querySelector('.results').after(...said);
    }
    const differsId = (output) => `${output.id.replace(/Data$/, '')}Differs`;

    // The yellow is also said in words, for whoever does not see it.
    function setPointerHighlight(on) {
        for (const { output } of pointers) {
            output.classList.toggle('differ', on);
            if (on) output.setAttribute('aria-describedby', differsId(output));
            else output.removeAttribute('aria-describedby');
        }
    }

    function clearResults() {
        for (const result of results) {
            result.textContent = '';
            result.removeAttribute('title');
        }
        setPointerHighlight(false);
        provenance.clearResults();
        links.cleared();
    }

    // The title shows the caption, as the window's tooltip does, and where it came from when
    // the module can tell. Each output is written once, and only where it changes: a decode
    // replaces the last one's results without clearing them first.
    function showResults(captions, sources) {
        results.forEach((result, i) => {
            if (result.textContent !== captions[i]) result.textContent = captions[i];
            const title = [captions[i], sources[i]].filter((text) => text !== '').join('\n');
            if (title === '') result.removeAttribute('title');
            else if (result.title !== title) result.title = title;
        });
    }

    function cmdDebug_Click() {
        const fields = binding.decode(txtDebugData.value);
        showResults(fields.captions, fields.sources);
        setPointerHighlight(fields.pointersDiffer);
        provenance.decoded(fields.sources);
        links.decoded(txtDebugData.value);
    }

    // ---- Clipboard report --------------------------------------------------------------------

    // The clipboard's own copy command with the text handed over in the copy event, which keeps
    // CR LF exactly (a text box would turn it into LF).
    function copyThroughEvent(text) {
        let handed = false;
        const give = (event) => {
            event.clipboardData.setData('text/plain', text);
            event.preventDefault();
            handed = true;
        };
        document.addEventListener('copy', give, { once: true });
        try {
            return document.execCommand('copy') && handed;
        } catch {
            return false;
        } finally {
            document.removeEventListener('copy', give);
        }
    }

    async function putOnClipboard(text) {
        if (navigator.clipboard && navigator.clipboard.writeText) {
            try {
                await navigator.clipboard.writeText(text);
                return true;
            } catch {
                // Not allowed here (an old browser, or no permission): the copy command may be.
            }
        }
        return copyThroughEvent(text);
    }

    async function cmdCopyResult_Click() {
        const report = binding.buildReport(results.map((result) => result.textContent));
        tell((await putOnClipboard(report)) ? report + kConfirmation : kClipboardNotWritten);
    }

    // ---- Input text tools --------------------------------------------------------------------

    // The cap is stated, on screen and to assistive tools, while the box is full.
    function showCapNote() {
        const full = txtDebugData.value.length >= kCharacterLimit;
        control('capNote').hidden = !full;
        txtDebugData.setAttribute('aria-describedby', full ? 'hintDebugData capNote' : 'hintDebugData');
    }

    function setInputText(text) {
        txtDebugData.value = text;
        showCapNote();
    }

    function saveInputIfNoneSaved() {
        if (SavedText === '') SavedText = txtDebugData.value;
    }

    function cmdReset_Click() {
        saveInputIfNoneSaved();
        setInputText('');
        clearResults();
    }

    function cmdTrim_Click() {
        saveInputIfNoneSaved();
        const text = txtDebugData.value;
        const trimmed = binding.trimFirstWord(text);
        if (trimmed !== text) setInputText(trimmed);
    }

    function cmdRestore_Click() {
        if (SavedText !== '') setInputText(SavedText);
    }

    const kUndoableLineBreaks = 32;
    function lineBreaksOver(text, most) {
        let count = 0;
        for (let at = text.indexOf('\n'); at >= 0 && count <= most; at = text.indexOf('\n', at + 1)) ++count;
        return count > most;
    }

    // Puts text in place of the selection, as much as the box takes, and says so when it cut
    // short; false when nothing could be inserted. Counts UTF-16 units, as the box does.
    function insertIntoInput(text) {
        const { selectionStart, selectionEnd, value } = txtDebugData;
        const kept = value.length - (selectionEnd - selectionStart);
        const room = Math.max(0, kCharacterLimit - kept);
        let taken = text.length;
        if (text.length > room) {
            taken = room;
            const last = taken > 0 ? text.charCodeAt(taken - 1) : 0;
            if (last >= 0xd800 && last <= 0xdbff) --taken;  // never half a character
            if (taken === 0) {
                tell(`The input box holds at most ${kCharacterLimit} characters and has no room ` +
                    'for the text; nothing was pasted.');
                return false;
            }
        }
        const piece = text.slice(0, taken);
        // The editing command keeps the box's own undo, but its time grows with the square of
        // the line breaks (a pasted log of two thousand lines takes most of a minute): a longer
        // text, and any where the command is missing, replaces the range.
        if (lineBreaksOver(piece, kUndoableLineBreaks) ||
            !document.execCommand('insertText', false, piece)) {
            txtDebugData.setRangeText(piece, selectionStart, selectionEnd, 'end');
        }
        showCapNote();
        if (taken < text.length) {
            tell(`The text is ${text.length} characters long, but the input box holds at most ` +
                `${kCharacterLimit} characters. Only the first ${taken} characters were pasted.`);
        }
        return true;
    }

    // Pasting keeps the text as it stands afterwards in SavedText, for Restore.
    function txtDebugData_Paste(event) {
        event.preventDefault();
        const pasted = event.clipboardData ? event.clipboardData.getData('text/plain') : '';
        if (logView.pasted(pasted)) return;
        // The box holds line breaks as LF: count what it will hold.
        if (!insertIntoInput(pasted.replace(/\r\n?/g, '\n'))) return;
        SavedText = txtDebugData.value;
    }

    // ---- Wiring ------------------------------------------------------------------------------

    control('cmdDebug').addEventListener('click', command(cmdDebug_Click));
    control('cmdReset').addEventListener('click', command(cmdReset_Click));
    control('cmdTrim').addEventListener('click', command(cmdTrim_Click));
    control('cmdRestore').addEventListener('click', command(cmdRestore_Click));
    control('cmdCopyResult').addEventListener('click', command(cmdCopyResult_Click));
    txtDebugData.addEventListener('paste', txtDebugData_Paste);
    txtDebugData.addEventListener('input', showCapNote);
    // The box has the focus from the start by its autofocus, which the browser gives it as it
    // draws the page: focus() here would lay the page out before the first paint needs it.
    links.read();
})();
