#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// Puts the page together: the template with its title, one inline style, the WebAssembly module
// gzip-compressed as base64 in a data block (a script element of a type that never runs), one
// inline script (the module's loader, then the page script), and a security policy that allows
// exactly that style and script by their hashes and nothing from the network. The loader
// inflates the module's bytes itself, so it never fetches them.
'use strict';
const crypto = require('node:crypto');
const fs = require('node:fs');
const zlib = require('node:zlib');

function parseArguments(argv) {
    const options = { scripts: [] };
    for (let i = 0; i < argv.length; i += 2) {
        const [name, value] = [argv[i], argv[i + 1]];
        if (value === undefined) throw new Error(`${name} needs a value`);
        if (name === '--script') options.scripts.push(value);
        else options[name.replace(/^--/, '')] = value;
    }
    for (const name of ['version', 'template', 'style', 'wasm', 'output'])
        if (!options[name]) throw new Error(`--${name} is missing`);
    return options;
}

// "2.0.0" -> "Quillmark V2.0 Rev:0", the window's caption.
function caption(version) {
    const [major, minor, revision] = version.split('.').map(Number);
    if ([major, minor, revision].some((n) => !Number.isInteger(n)))
        throw new Error(`version ${version} is not major.minor.revision`);
    return `Quillmark V${major}.${minor} Rev:${revision}`;
}

const hash = (text) => `'sha256-${crypto.createHash('sha256').update(text, 'utf8').digest('base64')}'`;

// Inline content ends at the first closing tag of its element, whatever stands around it.
function inline(text, element, file) {
    if (new RegExp(`</${element}`, 'i').test(text))
        throw new Error(`${file} holds "</${element}", which would end the inline ${element}`);
    return text;
}

// The page carries its style and script without their comments and indentation, which the
// sources keep. Script goes line by line: its line breaks stay, so statements end as written;
// a template literal over more than one line would change, so none may span lines.
function compactScript(text, file) {
    const lines = text.split('\n');
    const broken = lines.findIndex((line) => (line.match(/`/g) || []).length % 2 === 1);
    if (broken >= 0) throw new Error(`${file}:${broken + 1}: a template literal spans lines`);
    return lines.map((line) => line.trim()).filter((line) => line !== '' && !line.startsWith('//'))
        .join('\n');
}
const compactStyle = (text) => text.replace(/\/\*[^]*?\*\//g, '').split('\n')
    .map((line) => line.trim()).filter((line) => line !== '').join('\n');

function main() {
    const options = parseArguments(process.argv.slice(2));
    const style = inline(compactStyle(fs.readFileSync(options.style, 'utf8')), 'style', options.style);
    // The same bytes on every build: gzip as zlib writes it carries no time or file name.
    const wasm = zlib.gzipSync(fs.readFileSync(options.wasm), { level: 9, memLevel: 9 }).toString('base64');
    const script = options.scripts.map((file) =>
        inline(compactScript(fs.readFileSync(file, 'utf8'), file), 'script', file)).join('\n');
    const policy = [
        "default-src 'none'",
        `script-src ${hash(script)} 'wasm-unsafe-eval'`,
        `style-src ${hash(style)}`,
        "base-uri 'none'",
        "form-action 'none'",
    ].join('; ');
    const title = caption(options.version);
    const fill = { TITLE: title, VERSION: options.version, POLICY: policy, STYLE: style, MODULE: wasm, SCRIPT: script };
    const page = fs.readFileSync(options.template, 'utf8').replace(/@(TITLE|VERSION|POLICY|STYLE|MODULE|SCRIPT)@/g,
        (_, key) => fill[key]);
    fs.writeFileSync(options.output, page);
}

try {
    main();
} catch (error) {
    console.error(`assemble: ${error.message}`);
    process.exit(1);
}
