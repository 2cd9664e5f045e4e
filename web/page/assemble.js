#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// Puts the page together: the template with its title, one inline style and one inline script
// (the WebAssembly module as base64, its loader, then the page script), and a security policy
// that allows exactly that style and script by their hashes and nothing from the network.
// The page hands the module's bytes to the loader itself, so the loader never fetches them.
'use strict';
const crypto = require('node:crypto');
const fs = require('node:fs');

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

function main() {
    const options = parseArguments(process.argv.slice(2));
    const style = inline(fs.readFileSync(options.style, 'utf8'), 'style', options.style);
    const wasm = fs.readFileSync(options.wasm).toString('base64');
    const script = [`var QuillmarkWasm = '${wasm}';`]
        .concat(options.scripts.map((file) => inline(fs.readFileSync(file, 'utf8'), 'script', file)))
        .join('\n');
    const policy = [
        "default-src 'none'",
        `script-src ${hash(script)} 'wasm-unsafe-eval'`,
        `style-src ${hash(style)}`,
        "base-uri 'none'",
        "form-action 'none'",
    ].join('; ');
    const title = caption(options.version);
    const fill = { TITLE: title, VERSION: options.version, POLICY: policy, STYLE: style, SCRIPT: script };
    const page = fs.readFileSync(options.template, 'utf8').replace(/@(TITLE|VERSION|POLICY|STYLE|SCRIPT)@/g,
        (_, key) => fill[key]);
    fs.writeFileSync(options.output, page);
}

try {
    main();
} catch (error) {
    console.error(`assemble: ${error.message}`);
    process.exit(1);
}
