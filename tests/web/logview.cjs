// SPDX-License-Identifier: MIT
// A decode shared as a link, and a whole console log opened in the page: its list stepped
// through with keys and its dumps checked against quillmark-decode, a long paste timed.
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { engine, kResultNames, startBrowser, openPage, readResults, otherRequests, run } = require('./browser.cjs');
const { consoleLog } = require('./console-log.cjs');

const kWorkedExample = '0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 ' +
    '00090020 00000000 00000000 00000000 000003E5 0000B1A3';
const linkOf = (text, version) => `#d=${encodeURIComponent(text)}&v=${version}`;
const say = (tab) => tab.$eval('#linkStatus', (p) => p.textContent);

// The controls built after the page's first paint, in the order they stand in.
const commandsAfterCopyResult = (tab) => tab.$$eval('#cmdCopyResult ~ *', (all) => all.map((e) => e.id || e.className));

async function links(browser) {
    const { tab, requests } = await openPage(browser);
    assert.deepEqual(await commandsAfterCopyResult(tab), ['cmdCopyLink', 'logFile', 'fileButton']);
    const version = await tab.evaluate(() => document.documentElement.dataset.version);
    const before = await tab.evaluate(() => history.length);
    await tab.evaluate((t) => { document.getElementById('txtDebugData').value = t; }, `${kWorkedExample}\n\u00e9`);
    await tab.click('#cmdDebug');
    const address = await tab.evaluate(() => location.href);
    assert.ok(address.endsWith(linkOf(`${kWorkedExample}\n\u00e9`, version)), address);
    assert.equal(await tab.evaluate(() => history.length), before, 'the address is replaced, not pushed');
    await tab.click('#cmdCopyLink');
    await tab.waitForFunction(() => document.getElementById('linkStatus').textContent === 'Link copied.');
    assert.equal(await tab.evaluate(() => navigator.clipboard.readText()), address);
    const shown = await readResults(tab);
    // The link opens in a fresh tab with the same decode; from another version with a note.
    for (const [from, note] of [[version, ''], ['1.0.0', /made by Quillmark 1\.0\.0: the decode it showed came from that version/]]) {
        const other = await browser.newPage();
        await other.bringToFront();
        await other.goto(address.replace(/&v=.*/, `&v=${from}`));
        // Polled on a timer: a tab the browser does not show draws no frames to poll on.
        await other.waitForFunction(() => document.getElementById('lblMainPMData').textContent !== '',
            { polling: 100 }).catch(async (error) => {
            throw new Error(`${error.message}; the page says "${await other.evaluate(() =>
                document.getElementById('status').textContent)}"`);
        });
        assert.deepEqual(await readResults(other), shown);
        // Copy link is built at this decode, before the file button: it still stands first.
        await other.waitForSelector('#logFile');
        assert.deepEqual(await commandsAfterCopyResult(other), ['cmdCopyLink', 'logFile', 'fileButton']);
        if (note) assert.match(await say(other), note);
        else assert.equal(await say(other), '');
        await other.close();
    }
    // Too long for a link: the address holds no dump, and the page says why.
    await tab.evaluate((t) => { document.getElementById('txtDebugData').value = t; }, '0'.repeat(51201));
    await tab.click('#cmdDebug');
    assert.equal(await tab.evaluate(() => location.hash), '');
    assert.equal(await say(tab), 'No link: the text is 51201 bytes long, and a link holds at most 51200.');
    assert.deepEqual(otherRequests(requests), [], 'no request but the page');
    await tab.close();
}

// The fifteen results quillmark-decode gives a text, as readResults shows them.
function reference(text) {
    const record = JSON.parse(execFileSync(process.env.QM_DECODE, ['--json'], { input: text }));
    return {
        captions: kResultNames.map((name) => record[name.replace(/^lbl|Data$/g, '')]),
        input: text, highlighted: [record.PointersDiffer, record.PointersDiffer],
    };
}

// The rows the list shows, each as the line of the message at its place in the log.
const listed = (tab) => tab.$$eval('#dumpList li', (items) => items.map((item) =>
    [Number(item.getAttribute('aria-posinset')) - 1, Number(item.dataset.line), Number(item.getAttribute('aria-setsize'))]));
async function assertListed(tab, dumps) {
    const rows = await listed(tab);
    assert.ok(rows.length > 0, 'the list shows rows');
    assert.deepEqual(rows, rows.map(([index]) => [index, dumps[index].line, dumps.length]));
}
const finished = (tab, count) => tab.waitForFunction((n) => document.getElementById('logHeading').textContent
    .endsWith(`: ${n} BUG messages`), {}, count);

// A file dropped on an element, as the browser hands it to the page: the page must take the
// drag (or the browser would open the file itself) and the drop.
async function dropFile(tab, selector, text) {
    const taken = await tab.evaluate((where, content) => {
        const files = new DataTransfer();
        files.items.add(new File([content], 'dropped.log', { type: 'text/plain' }));
        const on = document.querySelector(where);
        return ['dragover', 'drop'].map((type) => on.dispatchEvent(
            new DragEvent(type, { dataTransfer: files, bubbles: true, cancelable: true })));
    }, selector, text);
    assert.deepEqual(taken, [false, false], `the page takes a file dropped on ${selector}`);
}

// The ways in, one after the other in one tab: each log replaces the one before.
const kOpenings = [
    ['file button', 20000, (tab, file) => tab.$('#logFile').then((input) => input.uploadFile(file))],
    ['drop on the input box', 9000, (tab, file) => dropFile(tab, '#txtDebugData', fs.readFileSync(file, 'utf8'))],
    ['drop on the list', 5000, (tab, file) => dropFile(tab, '#dumpList', fs.readFileSync(file, 'utf8'))],
];

async function logFromFile(browser) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmark-log-'));
    const { tab, requests } = await openPage(browser);
    for (const [way, bytes, open] of kOpenings) {
        const { text, dumps } = consoleLog({ bytes, seed: bytes });
        const file = path.join(folder, 'console.log');
        fs.writeFileSync(file, text.replace(/\n/g, '\r\n'));
        await open(tab, file);
        await finished(tab, dumps.length);
        await assertListed(tab, dumps);
        if (way !== 'file button') {
            assert.deepEqual(await readResults(tab), reference(dumps[0].text), `${way}: the first message chosen`);
            continue;
        }
        // The first message is chosen; keys step through the list, each step decoded.
        await tab.focus('#dumpList');
        for (const [key, index] of [['ArrowDown', 1], ['ArrowDown', 2], ['End', dumps.length - 1], ['ArrowUp', dumps.length - 2]]) {
            await tab.keyboard.press(key);
            assert.deepEqual(await readResults(tab), reference(dumps[index].text), `${key} to message ${index}`);
            await assertListed(tab, dumps);
        }
        assert.ok(await tab.$eval('#logSummary', (chart, n) => chart.textContent.includes(`messages${n}`), dumps.length));
    }
    assert.deepEqual(otherRequests(requests), [], 'the log stays in the page');
    await tab.close();
    fs.rmSync(folder, { recursive: true });
}

// The time from the paste to the next frame, in the page: told, not asserted.
async function timedPaste(tab, text) {
    await tab.evaluate((t) => navigator.clipboard.writeText(t), text);
    await tab.focus('#txtDebugData');
    await tab.evaluate(() => {
        window.addEventListener('paste', () => {
            const start = performance.now();
            requestAnimationFrame(() => setTimeout(() => { window.pasteTook = performance.now() - start; }));
        }, { capture: true, once: true });
    });
    await tab.keyboard.down('Control');
    await tab.keyboard.press('KeyV');
    await tab.keyboard.up('Control');
    return tab.waitForFunction(() => window.pasteTook).then((took) => took.jsonValue());
}

async function longPaste(browser) {
    const { text, dumps } = consoleLog({ bytes: 90000, wordsPerLine: 4 });
    const lines = text.split('\n').slice(0, 2203).join('\n').padEnd(65536);
    const { tab } = await openPage(browser);
    const asLog = await timedPaste(tab, lines);
    const pastedDumps = dumps.filter((dump) => dump.line < 2203);
    await finished(tab, pastedDumps.length);
    await assertListed(tab, pastedDumps);
    const noBug = lines.replace(/BUG/g, 'GUB');
    await tab.click('#cmdReset');
    const asText = await timedPaste(tab, noBug);
    assert.equal(await tab.$eval('#txtDebugData', (box) => box.value), noBug);
    console.log(`${engine}: a paste of ${lines.length} characters in ${lines.split('\n').length} lines ` +
        `shows in ${asLog.toFixed(1)} ms as a log, ${asText.toFixed(1)} ms as text`);
    await tab.close();
}

run(async () => {
    const { browser, close } = await startBrowser();
    try {
        for (const check of [links, logFromFile, longPaste]) {
            await check(browser);
            console.log(`ok: ${engine}: ${check.name}`);
        }
    } finally {
        await close();
    }
});
