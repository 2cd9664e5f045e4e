#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// Puts the page together: the template with its title, one inline style, the WebAssembly module
// deflated (zopfli) as base64 in a data block (a script element of a type that never runs), two
// inline scripts (the module's loader at the top, the page script at the end), and a security
// policy that allows exactly that style and those scripts by their hashes and nothing from the
// network. The loader inflates the module's bytes itself, so it never fetches them.
'use strict';
const { execFileSync } = require('node:child_process');
const crypto = require('node:crypto');
const fs = require('node:fs');

// Debian's terser (package terser) lives outside node's own module paths.
function terser() {
    for (const name of ['terser', '/usr/share/nodejs/terser']) {
        try {
            return require(name);
        } catch {
            // the next place
        }
    }
    throw new Error('terser is missing (install the Debian package terser)');
}

function parseArguments(argv) {
    const options = { scripts: [] };
    for (let i = 0; i < argv.length; i += 2) {
        const [name, value] = [argv[i], argv[i + 1]];
        if (value === undefined) throw new Error(`${name} needs a value`);
        if (name === '--script') options.scripts.push(value);
        else options[name.replace(/^--/, '')] = value;
    }
    for (const name of ['version', 'template', 'style', 'wasm', 'zopfli', 'loader', 'output'])
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

// The page carries its scripts minified: each one's files joined in one function, so that their
// names stay the page's own and are shortened, in strict mode from its first statement.
async function compactScript(files) {
    const joined = files.map((file) => fs.readFileSync(file, 'utf8')).join('\n');
    const wrapped = `(() => {\n'use strict';\n${joined}\n})();\n`;
    const { code } = await terser().minify(wrapped, {
        ecma: 2020,
        compress: { passes: 2 },
        mangle: true,
        format: { comments: false },
    });
    if (!code.startsWith('(()=>{"use strict";')) throw new Error('the minified script does not begin in strict mode');
    return code;
}

// The style without comments and with no white space that means nothing; strings stay as written.
const compactStyle = (text) => text.replace(/\/\*[^]*?\*\//g, '')
    .split(/("[^"]*"|'[^']*')/).map((piece, i) => (i % 2 ? piece : piece.replace(/\s+/g, ' ')
        .replace(/ ?([{};,>]) ?/g, '$1').replace(/: /g, ':').replace(/;}/g, '}')))
    .join('').trim();

// Deflated by zopfli, some tenths smaller than zlib's best; the same bytes on every build.
const deflate = (zopfli, file) => execFileSync(zopfli, ['-c', '--deflate', file], { maxBuffer: 1 << 26 });

async function main() {
    const options = parseArguments(process.argv.slice(2));
    const style = inline(compactStyle(fs.readFileSync(options.style, 'utf8')), 'style', options.style);
    const wasm = deflate(options.zopfli, options.wasm).toString('base64');
    const loader = inline(await compactScript([options.loader]), 'script', options.loader);
    const script = inline(await compactScript(options.scripts), 'script', options.scripts.join(', '));
    const policy = [
        "default-src 'none'",
        `script-src ${hash(loader)} ${hash(script)} 'wasm-unsafe-eval'`,
        `style-src ${hash(style)}`,
        "base-uri 'none'",
        "form-action 'none'",
    ].join('; ');
    const title = caption(options.version);
    const fill = { TITLE: title, VERSION: options.version, POLICY: policy, STYLE: style, MODULE: wasm, LOADER: loader, SCRIPT: script };
    const page = fs.readFileSync(options.template, 'utf8').replace(/@(TITLE|VERSION|POLICY|STYLE|MODULE|LOADER|SCRIPT)@/g,
        (_, key) => fill[key]);
    fs.writeFileSync(options.output, page);
}

main().catch((error) => {
    console.error(`assemble: ${error.message}`);
    process.exit(1);
});
