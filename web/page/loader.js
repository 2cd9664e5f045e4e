// SPDX-License-Identifier: MIT
// Starts the decoder module that comes inside the page, from the top of the page's head, so that
// it is ready by the time the markup below has been read: its WebAssembly, deflated and written
// as base64 in the data block #decoderModule just above (which the script parser never reads),
// is inflated by the browser's own DecompressionStream, then compiled and instantiated; nothing
// is fetched. The inflated bytes are read straight from the stream and the module, some tens of
// kilobytes, is compiled at once: every hop through the browser's task queue (a Response's
// arrayBuffer, compileStreaming, an asynchronous compile) waits behind whatever the page is
// parsing or drawing, and cost more than the millisecond the compile takes. The module is a
// reactor: _initialize runs its static constructors once, then its exports are called as
// `_Web...` functions on the object the promise self.quillmarkDecoder gives the page script,
// with HEAPU8 the view of its memory (renewed when the memory grows, which detaches the old
// buffer).
'use strict';
async function QuillmarkDecoder(base64) {
    const packed = Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64) : bytesOf(atob(base64));
    const inflater = new DecompressionStream('deflate-raw');
    const writer = inflater.writable.getWriter();
    // A fault in the bytes is read from the other end of the stream.
    writer.write(packed).catch(() => {});
    writer.close().catch(() => {});
    const reader = inflater.readable.getReader();
    const pieces = [];
    let size = 0;
    for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        pieces.push(value);
        size += value.length;
    }
    const bytes = new Uint8Array(size);
    for (let at = 0, i = 0; i < pieces.length; at += pieces[i++].length) bytes.set(pieces[i], at);
    const atOnce = compileAtOnce(bytes);
    const compiled = atOnce || await WebAssembly.compile(bytes);

    // What the module may ask of its host: to be told its memory grew, which HEAPU8 notices
    // by itself, and to stop, which only a fault inside it does (out of memory, say).
    const known = {
        emscripten_notify_memory_growth() {},
        proc_exit(code) { throw new Error(`the decoder stopped with status ${code}`); },
    };
    const imports = {};
    for (const { module, name } of WebAssembly.Module.imports(compiled)) {
        imports[module] = imports[module] || {};
        imports[module][name] = known[name] || (() => { throw new Error(`the decoder called ${name}`); });
    }
    const { exports } = atOnce ? new WebAssembly.Instance(compiled, imports)
        : await WebAssembly.instantiate(compiled, imports);
    exports._initialize();

    let heap = new Uint8Array(exports.memory.buffer);
    const decoder = {
        get HEAPU8() {
            if (heap.buffer !== exports.memory.buffer) heap = new Uint8Array(exports.memory.buffer);
            return heap;
        },
    };
    for (const [name, value] of Object.entries(exports))
        if (name.startsWith('Web')) decoder[`_${name}`] = value;
    return decoder;
}

// Some browsers refuse to compile or instantiate more than a few kilobytes on the page's own
// thread (older Chromiums did past 4 KB, with a RangeError): there the module is compiled and
// instantiated in the background.
function compileAtOnce(bytes) {
    try {
        return new WebAssembly.Module(bytes);
    } catch (error) {
        if (error instanceof RangeError) return null;
        throw error;
    }
}

function bytesOf(text) {
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
}

self.quillmarkDecoder = QuillmarkDecoder(document.getElementById('decoderModule').textContent);
// A fault is told by the page script once the page is there; until then it is not unhandled.
self.quillmarkDecoder.catch(() => {});
