// SPDX-License-Identifier: MIT
// Starts the decoder module that comes inside the page: its WebAssembly, deflated and written
// as base64 (in the data block #decoderModule, which the script parser never reads), is
// inflated by the browser's own DecompressionStream and instantiated; nothing is fetched. The
// bytes stream from a Response made on them, inside the page: a Blob's stream is read back
// from the browser's own process, and on a busy machine that kept the decoder from being ready
// until tens of milliseconds after the page had loaded. The module is a reactor: _initialize
// runs its static constructors once, then its exports are called as `_Web...` functions on the
// object returned, with HEAPU8 the view of its memory (renewed when the memory grows, which
// detaches the old buffer).
'use strict';
// eslint-disable-next-line no-unused-vars
async function QuillmarkDecoder(base64) {
    const packed = Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64) : bytesOf(atob(base64));
    const inflated = new Response(packed).body.pipeThrough(new DecompressionStream('deflate-raw'));
    // Compiled while it is inflated, where the browser can.
    const compiled = WebAssembly.compileStreaming
        ? await WebAssembly.compileStreaming(new Response(inflated, { headers: { 'Content-Type': 'application/wasm' } }))
        : await WebAssembly.compile(await new Response(inflated).arrayBuffer());

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
    const { exports } = await WebAssembly.instantiate(compiled, imports);
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

function bytesOf(text) {
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
}
