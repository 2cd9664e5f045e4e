// SPDX-License-Identifier: MIT
// The page against the command-line decoder on 2,000 random messages, well-formed and not:
// each is entered into the page's input box, decoded with a click on DeBug, and its fifteen
// results and pointer highlight must equal quillmark-decode --json on the same text.
//
// A browser's text box holds text, not bytes: messages with invalid UTF-8 reach it the way a
// browser decodes bytes (TextDecoder, one U+FFFD per broken sequence), and the box turns CR LF
// and CR into LF. The decoder is therefore compared on what the box received, read back from
// the page. Each message's raw bytes are decoded by quillmark-decode as well, which must give
// the same fields: its own replacement of broken sequences agrees with the browser's.
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {
    engine, kResultNames, startBrowser, openPage, readResults, shownResults, enterText, otherRequests, run,
} = require('./browser.cjs');

const kMessages = Number(process.env.QM_MESSAGES || 2000);
const [kTyped, kBatch] = [20, 100];
const kSeed = Number(process.env.QM_SEED || 20261209);

// mulberry32: small, seeded, the same messages on every run.
function random(seed) {
    let a = seed >>> 0;
    return () => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = Math.imul(a ^ (a >>> 15), 1 | a);
        t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

const utf8 = (text) => Buffer.from(text, 'utf8');
// Characters and byte runs a malformed dump may hold, invalid UTF-8 among them.
const kOddPieces = [
    'a', 'f', 'g', 'x', '<', '>', '&', '"', "'", '\t', '\u00a0', '\u00e9', '\u6f22', '\u{1f600}',
    'e\u0301', '\ufeff', '\u2028', '\u0000', '\u0001', '\u007f', '\r\n', '\n', '\r',
].map(utf8).concat([[0x80], [0xbf], [0xc0, 0xaf], [0xe0, 0x80], [0xed, 0xa0, 0x80],
    [0xf4, 0x90, 0x80, 0x80], [0xf8], [0xff], [0xe2, 0x82], [0xf0, 0x9f, 0x98]].map(Buffer.from));

// A byte order mark is a character like any other in pasted text.
const kAsBrowserText = new TextDecoder('utf-8', { ignoreBOM: true });

function message(next) {
    const pick = (list) => list[Math.floor(next() * list.length)];
    const count = (max) => Math.floor(next() * (max + 1));
    // Zeros are frequent in real dumps and make the name tables' codes come up.
    const hexDigit = () => (next() < 0.5 ? '0' : pick('0123456789ABCDEF'));
    const hexWord = (length = 8) => Array.from({ length }, hexDigit).join('');
    const oddWord = (length) => Buffer.concat(Array.from({ length }, () =>
        (next() < 0.6 ? utf8(hexDigit()) : pick(kOddPieces))));
    const kind = Math.floor(next() * 6);
    const words = [];
    const total = kind === 5 ? count(3) : 1 + count(40);
    for (let i = 0; i < total; ++i) {
        if (kind === 0) words.push(utf8(hexWord()));                          // clean
        else if (kind === 1) words.push(utf8(hexWord(count(12))));            // short and long
        else if (kind === 2) words.push(oddWord(count(10)));                  // malformed
        else if (kind === 3) words.push(oddWord(next() < 0.1 ? 50 + count(400) : 8));
        else words.push(utf8(next() < 0.8 ? hexWord() : hexWord(count(20)).toLowerCase()));
    }
    const separators = [' ', ' ', ' ', ' ', '  ', ' \r\n', '\r\n', '\n', '\t'].map(utf8);
    const parts = kind === 4 ? [utf8(pick(['BUG1234 ', ' ', 'BUG: ', '']))] : [];
    words.forEach((word, i) => {
        if (i > 0) parts.push(kind < 2 ? utf8(' ') : pick(separators));
        parts.push(word);
    });
    if (next() < 0.2) parts.push(utf8(pick(['\r\n', ' ', '  \r\n'])));
    return Buffer.concat(parts);
}

// Runs in the page: each text entered as one editing command, DeBug clicked, the results read.
function decodeEach(texts, names, shown) {
    const box = document.getElementById('txtDebugData');
    return texts.map((text) => {
        box.focus();
        box.select();
        if (text === '') document.execCommand('delete');
        else document.execCommand('insertText', false, text);
        document.getElementById('cmdDebug').click();
        return shown(names);
    });
}

// quillmark-decode --json on each file, one record per file, in order.
function decodeFiles(files) {
    const records = [];
    for (let i = 0; i < files.length; i += 400) {
        const out = execFileSync(process.env.QM_DECODE, ['--json', ...files.slice(i, i + 400)],
            { maxBuffer: 256 << 20 });
        records.push(...out.toString('utf8').trimEnd().split('\n').map((line) => JSON.parse(line)));
    }
    assert.equal(records.length, files.length, 'one record per message');
    return records;
}

const expected = (record) => ({
    captions: kResultNames.map((name) => record[name.replace(/^lbl|Data$/g, '')]),
    highlighted: [record.PointersDiffer, record.PointersDiffer],
});

run(async () => {
    const next = random(kSeed);
    const messages = Array.from({ length: kMessages }, () => message(next));
    const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmark-differential-'));
    const { close, browser } = await startBrowser();
    try {
        const { tab, requests } = await openPage(browser);
        // The first messages are typed and decoded with a real mouse click on DeBug, which
        // stays where it is (the page never scrolls here); the rest go in batches, one browser
        // round trip each, entered with the editing command typing uses and decoded by DeBug's
        // own click.
        const box = await (await tab.$('#cmdDebug')).boundingBox();
        const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
        assert.equal(await tab.evaluate((px, py) => document.elementFromPoint(px, py).id, x, y), 'cmdDebug');
        const texts = messages.map((bytes) => kAsBrowserText.decode(bytes));
        const seen = [];
        for (const text of texts.slice(0, kTyped)) {
            await enterText(tab, text);
            await tab.mouse.click(x, y);
            seen.push(await readResults(tab));
        }
        for (let i = kTyped; i < texts.length; i += kBatch) {
            seen.push(...await tab.evaluate(`(${decodeEach})(${JSON.stringify(texts.slice(i, i + kBatch))}, ` +
                `${JSON.stringify(kResultNames)}, ${shownResults})`));
        }
        const received = seen.map(({ input }) => input);
        const shown = seen.map(({ input, ...results }) => results);
        const write = (name, content, i) => {
            const file = path.join(work, `${name}${i}`);
            fs.writeFileSync(file, content);
            return file;
        };
        const fromReceived = decodeFiles(received.map((text, i) => write('received', text, i)));
        const fromBytes = decodeFiles(messages.map((bytes, i) => write('bytes', bytes, i)));
        let differences = 0;
        shown.forEach((result, i) => {
            const want = expected(fromReceived[i]);
            const same = JSON.stringify(result) === JSON.stringify(want) &&
                JSON.stringify(expected(fromBytes[i])) === JSON.stringify(want);
            if (!same && ++differences <= 5) {
                console.error(`message ${i} (${JSON.stringify(messages[i].toString('latin1'))}):\n` +
                    `  page    ${JSON.stringify(result)}\n  decoder ${JSON.stringify(want)}\n` +
                    `  bytes   ${JSON.stringify(expected(fromBytes[i]))}`);
            }
        });
        const altered = received.filter((text, i) => text !== messages[i].toString('utf8')).length;
        console.log(`${engine}: ${messages.length} messages (seed ${kSeed}), ${altered} reached the box ` +
            `changed (broken UTF-8 or CR), ${differences} differences`);
        assert.equal(differences, 0, 'the page decodes as quillmark-decode does');
        assert.deepEqual(otherRequests(requests), [], 'no request but the page');
    } finally {
        await close();
        fs.rmSync(work, { recursive: true, force: true });
    }
});
