// SPDX-License-Identifier: MIT
// The page's workflows in a real browser, as the window has them: the worked example, the text
// tools with their saved text, pasting with the input cap, Copy Results read back from the
// clipboard, markup shown as text, keyboard use, accessible names, contrast in light and dark,
// no request leaving the page, and the page's size.
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const http = require('node:http');
const {
    engine, kResultNames, startBrowser, openPage, openPageIn, readResults, enterText, otherRequests, run,
} = require('./browser.cjs');

const fixture = require('../fixtures/worked-example.json');
const kWorkedExample = fixture.text;
const kWorkedCaptions = Object.values(fixture.fields).map((field) => field.result);
// The report's labels, each up to its ": ", from the command-line decoder's report of no text.
const kReportLabels = execFileSync(process.env.QM_DECODE, [], { input: '' }).toString('utf8')
    .split('\n').filter(Boolean).map((line) => line.slice(0, line.indexOf(': ') + 2));
const kCaptionLabels = Object.values(fixture.fields).map((field) => field.caption);
const kLimit = 65536;
const report = (captions) => captions.map((c, i) => `${kReportLabels[i] + c}\r\n`).join('');

const value = (tab) => tab.$eval('#txtDebugData', (box) => box.value);
const message = async (tab) => {
    await tab.waitForSelector('#msgBox[open]');
    const text = await tab.$eval('#msgText', (pre) => pre.textContent);
    await tab.keyboard.press('Enter');  // the focused OK button closes the box
    await tab.waitForSelector('#msgBox:not([open])');
    return text;
};
const setClipboard = (tab, text) => tab.evaluate((t) => navigator.clipboard.writeText(t), text);
const clipboard = (tab) => tab.evaluate(() => navigator.clipboard.readText());
async function paste(tab, text, caretAtEnd = true) {
    await setClipboard(tab, text);
    if (caretAtEnd) await tab.$eval('#txtDebugData', (b) => { b.focus(); b.setSelectionRange(b.value.length, b.value.length); });
    await tab.keyboard.down('Control');
    await tab.keyboard.press('KeyV');
    await tab.keyboard.up('Control');
}

// Each step: a button to press, or text to type or paste; then the text the box must hold.
const kTextTools = [
    ['Trim removes one word a press; Restore brings the first text back', 'BUG123 0000 1111',
        [['cmdTrim', '0000 1111'], ['cmdTrim', '1111'], ['cmdTrim', '1111'], ['cmdRestore', 'BUG123 0000 1111']]],
    ['Trim drops a leading space', ' 0000', [['cmdTrim', '0000']]],
    ['a line break is no space', 'A\nB C', [['cmdTrim', 'C']]],
    ['the only word with a space after it leaves nothing', 'BUG123 ', [['cmdTrim', '']]],
    ['Reset on an empty box saves nothing', '', [['cmdReset', ''], ['type', 'typed'], ['cmdRestore', 'typed']]],
    ['Restore brings back the text before the first Reset', 'first',
        [['cmdReset', ''], ['type', 'second'], ['cmdReset', ''], ['cmdRestore', 'first']]],
    ['Paste keeps the whole text after it', '0000',
        [['paste', 'X', '0000X'], ['cmdReset', ''], ['cmdRestore', '0000X']]],
    ['Paste replaces the text a Reset saved', 'A',
        [['cmdReset', ''], ['paste', 'B', 'B'], ['cmdReset', ''], ['cmdRestore', 'B']]],
];

async function textTools(browser) {
    for (const [name, start, steps] of kTextTools) {
        const { tab } = await openPage(browser);
        await enterText(tab, start);
        for (const [action, text, after = text] of steps) {
            if (action === 'type') await enterText(tab, text);
            else if (action === 'paste') await paste(tab, text);
            else await tab.click(`#${action}`);
            assert.equal(await value(tab), after, `${name}: after ${action}`);
        }
        await tab.close();
    }
}

async function inputCap(browser) {
    const { tab } = await openPage(browser);
    await enterText(tab, '0'.repeat(kLimit - 2));
    await paste(tab, 'ABCD');
    assert.equal(await message(tab), `The text is 4 characters long, but the input box holds at most ${kLimit} characters. Only the first 2 characters were pasted.`);
    assert.equal((await value(tab)).slice(-4), '00AB');
    assert.equal(await tab.$eval('#capNote', (note) => note.hidden), false, 'the cap is stated');
    await tab.keyboard.type('Z');
    assert.equal((await value(tab)).length, kLimit, 'typing stops at the cap');
    await paste(tab, 'X');
    assert.equal(await message(tab), `The input box holds at most ${kLimit} characters and has no room for the text; nothing was pasted.`);
    await tab.click('#cmdReset');
    await tab.click('#cmdRestore');
    assert.equal((await value(tab)).slice(-3), '0AB', 'the cut paste is the saved text');
    await enterText(tab, '0'.repeat(kLimit - 1));
    await paste(tab, '\u{1f600}');
    assert.match(await message(tab), /no room/, 'half a character is never pasted');
    await tab.close();
}

async function workedExampleAndReport(browser) {
    const { tab, requests } = await openPage(browser);
    assert.equal(await tab.title(), `Quillmark V${process.env.QM_VERSION_CAPTION}`);
    assert.equal(await tab.evaluate(() => document.activeElement.id), 'txtDebugData');
    await setClipboard(tab, 'something else');
    await tab.click('#cmdCopyResult');
    assert.equal(await message(tab), `${report(kWorkedCaptions.map(() => ''))}\r\n\r\nABOVE TEXT COPIED TO CLIPBOARD`);
    await tab.click('#txtDebugData');
    await tab.keyboard.type(kWorkedExample);
    const order = [];
    for (let i = 0; i < 5; ++i) {
        await tab.keyboard.press('Tab');
        order.push(await tab.evaluate(() => document.activeElement.id));
    }
    assert.deepEqual(order, ['cmdDebug', 'cmdReset', 'cmdTrim', 'cmdRestore', 'cmdCopyResult']);
    await tab.focus('#cmdDebug');
    await tab.keyboard.press('Enter');
    assert.deepEqual(await readResults(tab), { captions: kWorkedCaptions, input: kWorkedExample, highlighted: [true, true] });
    // Each result's title says what it shows and where it came from, as the window's tooltip.
    for (const [id, source] of [['#lblOrigTNData', 'word 4, characters 5-8: 0421'],
        ['#lblTermTypeData', 'word 3, bit characters 20-24: 11010'],
        ['#lblDigsDialedData', 'word 13, characters 5-8, read from 8 to 5: B1A3']]) {
        const shown = await tab.$eval(id, (o) => `${o.textContent}\n`);
        assert.equal(await tab.$eval(id, (o) => o.title), shown + source);
    }
    await tab.focus('#cmdCopyResult');
    await tab.keyboard.press('Enter');
    const shown = await message(tab);
    const copied = await clipboard(tab);
    assert.ok(Buffer.from(copied, 'utf8').equals(Buffer.from(report(kWorkedCaptions), 'utf8')),
        `clipboard holds the report byte for byte: ${JSON.stringify(copied)}`);
    assert.equal(shown, `${copied}\r\n\r\nABOVE TEXT COPIED TO CLIPBOARD`);
    assert.equal(await tab.evaluate(() => document.activeElement.id), 'cmdCopyResult');
    // Where the clipboard interface refuses, the copy command still puts the exact report there.
    await setClipboard(tab, 'something else');
    await tab.evaluate(() => { navigator.clipboard.writeText = () => Promise.reject(new Error('refused')); });
    await tab.click('#cmdCopyResult');
    await message(tab);
    assert.equal(await tab.evaluate(() => navigator.clipboard.readText()), report(kWorkedCaptions));
    await tab.evaluate(() => { document.execCommand = () => false; });
    await tab.click('#cmdCopyResult');
    assert.equal(await message(tab), 'The clipboard cannot be written. Nothing was copied.');
    await tab.click('#cmdReset');
    assert.deepEqual(await readResults(tab), { captions: kWorkedCaptions.map(() => ''), input: '', highlighted: [false, false] });
    assert.deepEqual(otherRequests(requests), [], 'no request but the page');
    assert.deepEqual(await tab.evaluate(() => window.refused), [], 'the page keeps its own policy');
    await tab.close();
}

async function markupStaysText(browser) {
    const { tab, requests } = await openPage(browser);
    await paste(tab, '<b>x</b> <img src=x onerror=alert(1)>');
    await tab.click('#cmdDebug');
    await tab.click('#cmdCopyResult');
    assert.match(await message(tab), /^Call Register: <b>x<\/b>\r\nMain PM: UNDEFINED\r\n/);
    const shown = await tab.evaluate(() => ({
        elements: document.querySelectorAll('b, img').length,
        callRegister: document.getElementById('lblCallRegisterData').textContent,
    }));
    assert.deepEqual(shown, { elements: 0, callRegister: '<b>x</b>' });
    assert.deepEqual(otherRequests(requests), [], 'no request but the page');
    await tab.close();
}

// Chromium gives the accessibility tree's node of an element; WebDriver BiDi can only find
// elements by accessible name and role, so in Firefox each name must find its element, and the
// descriptions are read in Chromium alone.
async function accessibleNames(browser) {
    const { tab } = await openPage(browser);
    const node = async (id) => tab.accessibility.snapshot({ root: await tab.$(`#${id}`), interestingOnly: false });
    const assertName = async (id, name) => {
        if (engine === 'chromium') {
            assert.equal((await node(id)).name, name, id);
        } else {
            const found = await tab.$$(`aria/${name}`);
            const ids = await Promise.all(found.map((element) => element.evaluate((e) => e.id)));
            assert.ok(ids.includes(id), `${id}: the name "${name}" finds ${JSON.stringify(ids)}`);
        }
    };
    await assertName('txtDebugData', 'BUG message text');
    if (engine === 'chromium') {
        assert.equal((await node('txtDebugData')).description, 'The call register words of a BUG message, eight hex digits each, separated by spaces');
    }
    await enterText(tab, kWorkedExample);
    await tab.click('#cmdDebug');
    if (engine === 'chromium') {
        // The pointers' note first, then where the result came from.
        assert.equal((await node('lblDigitLoadData')).description, 'differs from Digit UnLoad pointer word 12, bit characters 28-32: 00101');
        assert.equal((await node('lblDigitUnloadData')).description, 'differs from Digit Load pointer word 12, bit characters 23-27: 11111');
        assert.equal((await node('lblOrigTNData')).description, 'word 4, characters 5-8: 0421');
    }
    for (const [i, id] of kResultNames.entries()) await assertName(id, kCaptionLabels[i]);
    for (const [id, name] of [['cmdDebug', 'DeBug'], ['cmdReset', 'Reset'], ['cmdTrim', 'Trim Text'],
        ['cmdRestore', 'Restore Text'], ['cmdCopyResult', 'Copy Results']]) await assertName(id, name);
    await tab.close();
}

// Every text against the background it is drawn on, in both colour schemes, with the pointer
// highlight, the cap note, the note on a faulty word, the status line and the message box showing.
async function contrast(browser) {
    for (const scheme of ['light', 'dark']) {
        const { tab, close } = await openPageIn(browser, scheme);
        await enterText(tab, kWorkedExample.replace('1A48', '1a48'));  // a note on a faulty word
        await tab.click('#cmdDebug');
        await tab.click('#cmdCopyResult');
        await tab.waitForSelector('#msgBox[open]');
        const ratios = await tab.evaluate(() => {
            for (const id of ['capNote', 'status']) Object.assign(document.getElementById(id), { hidden: false, textContent: 'x' });
            const rgb = (c) => c.match(/[\d.]+/g).map(Number);
            const luminance = ([r, g, b]) => [r, g, b].map((v) => v / 255)
                .map((v) => (v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
                .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
            const background = (el) => {
                // The input box is transparent over its backdrop, which draws the field.
                if (el.id === 'txtDebugData' && el.previousElementSibling) el = el.previousElementSibling;
                for (; el; el = el.parentElement) {
                    const c = rgb(getComputedStyle(el).backgroundColor);
                    if (c.length < 4 || c[3] > 0) return c.slice(0, 3);
                }
                return [255, 255, 255];
            };
            return [...document.querySelectorAll('h1, label, p, li, button, output, textarea, dialog h2, pre')]
                .map((el) => {
                    const [a, b] = [luminance(rgb(getComputedStyle(el).color)), luminance(background(el))];
                    return [el.id || el.tagName, (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05)];
                });
        });
        assert.equal(await tab.evaluate(() => matchMedia('(prefers-color-scheme: dark)').matches),
            scheme === 'dark', `the page is shown in the ${scheme} scheme`);
        for (const [what, ratio] of ratios) assert.ok(ratio >= 4.5, `${scheme}: ${what} at ${ratio.toFixed(2)}:1`);
        await close();
    }
}

// The page's own security policy stops whatever would reach a server, here a local one.
async function nothingLeaves(browser) {
    let connections = 0;
    const server = http.createServer((_, response) => response.end('x'));
    server.on('connection', () => ++connections);
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    const url = `http://127.0.0.1:${server.address().port}/`;
    const { tab } = await openPage(browser);
    const outcome = await tab.evaluate(async (target) => {
        const img = new Promise((resolve) => Object.assign(new Image(), { onload: () => resolve('loaded'), onerror: () => resolve('blocked'), src: target }));
        const fetched = await fetch(target).then(() => 'fetched', () => 'blocked');
        return [fetched, await img];
    }, url);
    await new Promise((resolve) => setTimeout(resolve, 300));
    server.close();
    assert.deepEqual(outcome, ['blocked', 'blocked']);
    assert.deepEqual(await tab.evaluate(() => window.refused.map((r) => r.split(' ')[0]).sort()), ['connect-src', 'img-src']);
    assert.equal(connections, 0, 'no connection reached the server');
    await tab.close();
}

// Browsers that lack WebAssembly, or limit it: the page says it cannot decode, or decodes all
// the same.
const kLimitedBrowsers = [
    {
        name: 'no WebAssembly',
        before: () => { delete globalThis.WebAssembly; },
        status: /^This browser cannot run the decoder \(WebAssembly\): /,
    },
    {
        name: 'no compile or instance of more than 4 KB on the page thread',
        before: () => {
            // The page's module is larger than that.
            const refused = () => { throw new RangeError('disallowed on the main thread'); };
            WebAssembly.Module = new Proxy(WebAssembly.Module, { construct: refused });
            WebAssembly.Instance = new Proxy(WebAssembly.Instance, { construct: refused });
        },
        status: null,
    },
];
async function limitedBrowsers(browser) {
    for (const { name, before, status } of kLimitedBrowsers) {
        const tab = await browser.newPage();
        await tab.evaluateOnNewDocument(before);
        await tab.goto(`file://${process.env.QM_PAGE}`);
        if (status) {
            await tab.waitForSelector('#status:not([hidden])');
            assert.match(await tab.$eval('#status', (s) => s.textContent), status, name);
        } else {
            await tab.waitForSelector('html[data-ready]', { timeout: 10000 });
            await enterText(tab, kWorkedExample);
            await tab.click('#cmdDebug');
            assert.deepEqual((await readResults(tab)).captions, kWorkedCaptions, name);
            assert.equal(await tab.$eval('#status', (s) => s.hidden), true, name);
        }
        await tab.close();
    }
}

run(async () => {
    // One self-contained file that travels by mail and chat: 80,000 bytes at most.
    assert.ok(require('node:fs').statSync(process.env.QM_PAGE).size <= 80000, 'the page is over 80,000 bytes');
    const { browser, close } = await startBrowser();
    try {
        for (const check of [workedExampleAndReport, textTools, inputCap, markupStaysText,
            accessibleNames, contrast, nothingLeaves, limitedBrowsers]) {
            await check(browser);
            console.log(`ok: ${check.name}`);
        }
    } finally {
        await close();
    }
});
