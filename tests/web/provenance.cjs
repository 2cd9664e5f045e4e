// SPDX-License-Identifier: MIT
// Results linked with their characters in the input box, both ways, through the real pointer,
// focus and keys: pointing at or focusing a result marks its characters in the backdrop; the
// caret frames the results its character feeds; faulty words are marked and listed; an edit
// or a text tool clears every mark; the marks stay on their characters in a long, scrolled
// paste, checked by pixels. QM_BROWSER=firefox runs it in Firefox.
'use strict';
const assert = require('node:assert/strict');
const puppeteer = require('puppeteer-core');
const { kResultNames, startBrowser, openPage, run } = require('./browser.cjs');

const fixture = require('../fixtures/worked-example.json');
const kWorkedExample = fixture.text;
const kWords = kWorkedExample.split(' ');
// Per result: the characters its caption came from, as [start, end).
const kWorkedSpans = Object.values(fixture.fields).map((field) => field.spans);
const [kOrigType, kTermType, kDigsDialed] = [3, 4, 14];

// Each faulty paste: its fault marks and notes. The worked example gives none.
const kFaultyPastes = fixture.faultyPastes.map((paste) => [paste.name, paste.text,
    paste.notes.map((note) => note.mark), paste.notes.map((note) => note.text)]);

// The backdrop's runs with a class, as [start, end) in the box's UTF-16 units; adjacent runs
// joined. Also checks that the backdrop holds exactly the box's text, as text.
const backdrop = (tab, className) => tab.evaluate((name) => {
    const runs = [];
    let at = 0;
    const nodes = [...document.querySelector('.backdrop').childNodes];
    for (const node of nodes) {
        if (node.nodeType === Node.ELEMENT_NODE && node.tagName !== 'MARK') throw new Error(node.tagName);
        const end = at + node.textContent.length;
        if (node.classList && node.classList.contains(name)) {
            if (runs.length && runs[runs.length - 1][1] === at) runs[runs.length - 1][1] = end;
            else runs.push([at, end]);
        }
        at = end;
    }
    const text = nodes.map((node) => node.textContent).join('');
    const value = document.getElementById('txtDebugData').value;
    if (nodes.length && text !== `${value}\u200b`) throw new Error('the backdrop differs from the box');
    return runs;
}, className);
// The last of the commands, after which Tab goes on to the results.
const focusLastCommand = (tab) => tab.$eval('.commands',
    (commands) => [...commands.querySelectorAll('button, input')].pop().focus());
const framed = (tab) => tab.$$eval('output.fed', (list) => list.map((o) => o.id));
const notes = (tab) => tab.$$eval('#lstInputNotes li', (list) => list.map((li) => li.textContent));
const unmarked = async (tab, why) => {
    assert.deepEqual(await backdrop(tab, 'lit'), [], `${why}: no field marked`);
    assert.deepEqual(await backdrop(tab, 'fault'), [], `${why}: no fault marked`);
    assert.deepEqual(await framed(tab), [], `${why}: no result framed`);
    assert.deepEqual(await notes(tab), [], `${why}: no notes`);
};

// Replaces the box's text with one editing command, as typing or pasting does.
async function enter(tab, text) {
    await tab.$eval('#txtDebugData', (box, t) => {
        box.focus();
        box.select();
        if (t === '') document.execCommand('delete');
        else document.execCommand('insertText', false, t);
    }, text);
}
async function decode(tab, text) {
    await enter(tab, text);
    await tab.click('#cmdDebug');
}
const caretTo = async (tab, position) => {
    await tab.focus('#txtDebugData');
    await tab.keyboard.down('Control');
    await tab.keyboard.press('Home');
    await tab.keyboard.up('Control');
    for (let i = 0; i < position; ++i) await tab.keyboard.press('ArrowRight');
};

// Pointer on each result and on its caption, then keyboard focus on each in tab order.
async function fieldToCharacters(browser) {
    const { tab } = await openPage(browser);
    await decode(tab, kWorkedExample);
    for (const [i, id] of kResultNames.entries()) {
        for (const target of [`#${id}`, `label[for="${id}"]`]) {
            await tab.hover(target);
            assert.deepEqual(await backdrop(tab, 'lit'), kWorkedSpans[i], `pointer on ${target}`);
        }
    }
    await tab.hover('h1');
    assert.deepEqual(await backdrop(tab, 'lit'), [], 'the pointer leaving clears the mark');
    await focusLastCommand(tab);
    for (const [i, id] of kResultNames.entries()) {
        await tab.keyboard.press('Tab');
        assert.equal(await tab.evaluate(() => document.activeElement.id), id, 'results follow the buttons');
        assert.deepEqual(await backdrop(tab, 'lit'), kWorkedSpans[i], `focus on ${id}`);
    }
    // The description carries the source; a faulty word's note goes with the fields it feeds.
    const described = (id) => tab.$eval(`#${id}`, (o) => o.getAttribute('aria-describedby').split(' ')
        .map((d) => document.getElementById(d).textContent).join(' | '));
    assert.equal(await described('lblTermTypeData'), 'word 3, bit characters 20-24: 11010');
    await decode(tab, kWorkedExample.replace('00001A48', '00001a48'));
    const warning = 'word 3 is in lower case: only upper-case digits are read';
    assert.equal(await described('lblOrigTypeData'), `word 3, bit characters 25-29: R0100\n${warning}`);
    assert.match(await tab.$eval('#lblOrigTypeData', (o) => o.title), new RegExp(`\n${warning}$`));
    assert.doesNotMatch(await described('lblOrigTNData'), /lower case/);
    await tab.close();
}

// The caret moved with arrow keys through words 2 and 3; then a selection over two fields.
async function charactersToFields(browser) {
    const { tab } = await openPage(browser);
    await decode(tab, kWorkedExample);
    const at = (names) => names.map((n) => `lbl${n}Data`);
    const expected = [[12, []], [13, at(['MainPM'])], [15, at(['AuxPM'])], [17, at(['AuxPM'])],
        [18, []], [22, at(['TermType'])], [24, at(['OrigType'])], [26, at(['OrigType'])], [27, []]];
    await caretTo(tab, 0);
    let position = 0;
    for (const [target, fields] of expected) {
        for (; position < target; ++position) await tab.keyboard.press('ArrowRight');
        assert.deepEqual(await framed(tab), fields, `caret at ${target}`);
    }
    const told = () => tab.$eval('#caretFields', (p) => p.textContent);
    assert.equal(await told(), '', 'nothing fed, nothing told');
    await caretTo(tab, 22);
    assert.equal(await told(), 'Feeds TermType', 'told in the live region');
    await tab.keyboard.down('Shift');
    for (let i = 0; i < 3; ++i) await tab.keyboard.press('ArrowRight');
    await tab.keyboard.up('Shift');
    assert.deepEqual(await framed(tab), at(['OrigType', 'TermType']), 'a selection over two fields');
    await tab.focus('#cmdDebug');
    assert.deepEqual(await framed(tab), [], 'no frame while the box has no focus');
    // Astral characters take two units in the box, a lone surrogate one: positions still agree.
    const astral = `\u{1F600}\uD800123456 ${kWords.slice(1).join(' ')}`;
    await decode(tab, astral);
    await tab.hover('#lblMainPMData');
    assert.deepEqual(await backdrop(tab, 'lit'), [[14, 16]]);
    assert.deepEqual(await backdrop(tab, 'fault'), [[0, 9]]);
    await tab.close();
}

async function onlyWhileTrue(browser) {
    const { tab } = await openPage(browser);
    for (const [action, why] of [['type', 'an edit'], ['cmdTrim', 'Trim'], ['cmdReset', 'Reset'],
        ['cmdRestore', 'Restore']]) {
        await decode(tab, `X ${kWorkedExample.toLowerCase()}`);
        await tab.hover(`#${kResultNames[kTermType]}`);
        assert.notDeepEqual(await backdrop(tab, 'fault'), [], `${why}: marked before`);
        await caretTo(tab, 3);
        if (action === 'type') await tab.keyboard.type('0');
        else await tab.click(`#${action}`);
        await tab.hover(`#${kResultNames[kOrigType]}`);
        await caretTo(tab, 3);
        await unmarked(tab, why);
    }
    await tab.close();
}

async function faultyPastes(browser) {
    const { tab } = await openPage(browser);
    for (const [name, text, marks, texts] of kFaultyPastes) {
        await decode(tab, text);
        // Two words marked on one character show as one run.
        const runs = marks.filter(([start], i) => i === 0 || start !== marks[i - 1][0]);
        assert.deepEqual(await backdrop(tab, 'fault'), runs, name);
        assert.deepEqual(await notes(tab), texts, name);
        if (texts.length) {  // the box's title names the faults of every word at the caret
            const [last] = marks[marks.length - 1];
            await caretTo(tab, last);
            assert.equal(await tab.$eval('#txtDebugData', (box) => box.title),
                texts.filter((_, i) => marks[i][0] === last).join('\n'), name);
        }
    }
    await decode(tab, '<b>x</b> <img src=x onerror=alert(1)>');
    assert.deepEqual(await backdrop(tab, 'fault'), [[0, 8], [9, 13], [14, 19], [20, 37]], 'markup stays text');
    assert.equal(await tab.$$eval('.backdrop b, .backdrop img', (list) => list.length), 0);
    await tab.close();
}

// Decodes a screenshot into pixels in a blank tab: the page's own policy allows no images.
async function pixelsOf(browser, png, rects) {
    const tab = await browser.newPage();
    const answer = await tab.evaluate(async (b64, rectangles) => {
        const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
        const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
        const canvas = Object.assign(document.createElement('canvas'), { width: bitmap.width, height: bitmap.height });
        const context = canvas.getContext('2d');
        context.drawImage(bitmap, 0, 0);
        return rectangles.map(({ x, y, width, height }) => Array.from(context.getImageData(x, y, width, height).data));
    }, png.toString('base64'), rects);
    await tab.close();
    return answer;
}
const near = (data, i, [r, g, b]) => Math.abs(data[i] - r) + Math.abs(data[i + 1] - g) + Math.abs(data[i + 2] - b) < 24;

// A scrolled 65,536-character paste: the backdrop scrolls with the box, and the mark of a field
// covers exactly the characters the box draws there, in pixels: the box's own selection of the
// same characters lands on the mark.
async function scrolledMarks(browser) {
    const { tab } = await openPage(browser, (t) => t.setViewport({ width: 1000, height: 1000 }));
    const head = `${'\n'.repeat(300)}${kWorkedExample} `;
    const text = `${head}${'00000000 '.repeat(8000)}`.slice(0, 65535) + '\n';
    await decode(tab, text);
    // Focus on a result brings its characters into the box's view.
    await focusLastCommand(tab);
    await tab.keyboard.press('Tab');
    assert.ok(await tab.evaluate(() => {
        const [box, mark] = ['#txtDebugData', '.backdrop mark.lit'].map((s) => document.querySelector(s).getBoundingClientRect());
        return mark.top >= box.top && mark.bottom <= box.bottom;
    }), 'the focused result\'s characters are in view');
    // The wheel scrolls by the browser's own steps; then the box is put where the marks show.
    await tab.hover('#txtDebugData');
    await tab.mouse.wheel({ deltaY: 2000 });
    const settled = () => tab.waitForFunction(async () => {
        const box = document.getElementById('txtDebugData');
        const top = box.scrollTop;
        await new Promise((resolve) => setTimeout(resolve, 100));
        return top > 0 && box.scrollTop === top;
    });
    const scrollTops = () => tab.evaluate(() => ['.backdrop', '#txtDebugData']
        .map((s) => document.querySelector(s).scrollTop));
    await settled();
    assert.equal(...await scrollTops(), 'the backdrop scrolls with the wheel');
    await tab.$eval('#txtDebugData', (box) => {
        box.scrollTop = document.querySelector('.backdrop mark').offsetTop - 40;
    });
    await settled();
    assert.equal(...await scrollTops(), 'the backdrop scrolls with the box');
    // The box resized by its handle: the backdrop takes its size and scroll position.
    const handle = await tab.$eval('#txtDebugData', (box) => {
        const r = box.getBoundingClientRect();
        return [r.right - 4, r.bottom - 4];
    });
    await tab.mouse.move(...handle);
    await tab.mouse.down();
    await tab.mouse.move(handle[0], handle[1] + 90, { steps: 5 });
    await tab.mouse.up();
    await tab.waitForFunction(() => {
        const [backdrop, box] = ['.backdrop', '#txtDebugData'].map((s) => document.querySelector(s));
        return box.offsetHeight > 200 && backdrop.offsetHeight === box.offsetHeight &&
            backdrop.scrollTop === box.scrollTop;
    }, { timeout: 5000 });
    const sizes = await tab.evaluate(() => ['.backdrop', '#txtDebugData'].map((s) => document.querySelector(s).scrollHeight));
    assert.equal(sizes[0], sizes[1], `${sizes}: the trailing line break has its line in the backdrop too`);
    await tab.hover(`#${kResultNames[kDigsDialed]}`);
    const [start, end] = (await backdrop(tab, 'lit'))[0];
    assert.deepEqual([start, end], kWorkedSpans[kDigsDialed][0].map((p) => p + 300));
    const mark = await tab.$eval('.backdrop mark.lit', (m) => JSON.parse(JSON.stringify(m.getBoundingClientRect())));
    const clip = await tab.$eval('#txtDebugData', (box) => {
        const r = box.getBoundingClientRect();
        return { x: Math.ceil(r.x + box.clientLeft), y: Math.ceil(r.y + box.clientTop), width: box.clientWidth - 2, height: box.clientHeight - 2 };
    });
    const before = await tab.screenshot({ clip });
    await tab.$eval('#txtDebugData', (box, s, e) => box.setSelectionRange(s, e), start, end);
    await tab.focus('#txtDebugData');
    await tab.hover(`#${kResultNames[kDigsDialed]}`);
    const after = await tab.screenshot({ clip });
    const size = { x: 0, y: 0, width: clip.width, height: clip.height };
    const [a] = await pixelsOf(browser, before, [size]);
    const [b] = await pixelsOf(browser, after, [size]);
    let [left, top, right, bottom] = [Infinity, Infinity, -1, -1];
    for (let i = 0; i < a.length; i += 4) {
        if (Math.abs(a[i] - b[i]) + Math.abs(a[i + 1] - b[i + 1]) + Math.abs(a[i + 2] - b[i + 2]) < 24) continue;
        const [x, y] = [(i / 4) % clip.width, Math.floor(i / 4 / clip.width)];
        [left, top, right, bottom] = [Math.min(left, x), Math.min(top, y), Math.max(right, x), Math.max(bottom, y)];
    }
    const drawn = [left + clip.x, top + clip.y, right + 1 + clip.x, bottom + 1 + clip.y];
    const marked = [mark.left, mark.top, mark.right, mark.bottom];
    assert.ok(drawn.every((v, i) => Math.abs(v - marked[i]) <= 3),
        `the selection at ${drawn} lands on the mark at ${marked.map(Math.round)}`);
    // TermType's mark colour, in pixels, on its two digits and nowhere else in the box.
    await tab.focus('#cmdDebug');
    await tab.hover(`#${kResultNames[kTermType]}`);
    const term = await tab.$eval('.backdrop mark.lit', (m) => JSON.parse(JSON.stringify(m.getBoundingClientRect())));
    const lit = await tab.evaluate(() => getComputedStyle(document.querySelector('.backdrop mark.lit'))
        .backgroundColor.match(/\d+/g).map(Number));
    const [shot] = await pixelsOf(browser, await tab.screenshot({ clip }), [size]);
    let [inside, outside] = [0, 0];
    for (let i = 0; i < shot.length; i += 4) {
        if (!near(shot, i, lit)) continue;
        const [x, y] = [(i / 4) % clip.width + clip.x, Math.floor(i / 4 / clip.width) + clip.y];
        if (x >= term.left - 1 && x <= term.right + 1 && y >= term.top - 1 && y <= term.bottom + 1) ++inside;
        else ++outside;
    }
    assert.ok(inside > (term.width * term.height) / 3 && outside === 0, `lit pixels: ${inside} in, ${outside} out`);
    await tab.close();
}

// In light, dark and forced colours: the box's text over a field's mark and over a fault stays
// at 4.5:1; the marks, the fault's line and the frame of a fed result stand at 3:1 against what
// surrounds them.
async function markContrast(browser) {
    for (const [name, value] of [['prefers-color-scheme', 'light'], ['prefers-color-scheme', 'dark'],
        ['forced-colors', 'active']]) {
        // Firefox through puppeteer emulates no media features: it shows its light scheme.
        if (process.env.QM_BROWSER === 'firefox' && value !== 'light') continue;
        // Puppeteer does not name forced colours; Chromium's own protocol does, and draws them.
        const { tab } = await openPage(browser, async (t) => (name === 'forced-colors'
            ? (await t.createCDPSession()).send('Emulation.setEmulatedMedia', { features: [{ name, value }] })
            : process.env.QM_BROWSER !== 'firefox' && t.emulateMediaFeatures([{ name, value }])));
        await decode(tab, `x ${kWorkedExample}`);
        await caretTo(tab, 6);
        await tab.hover('#lblMainPMData');
        const colours = await tab.evaluate(() => {
            const style = (selector, pseudo) => getComputedStyle(document.querySelector(selector), pseudo);
            const fed = style('output.fed', '::after');
            const lit = style('.backdrop mark.lit');
            return {
                text: style('#txtDebugData').color, field: style('.backdrop').backgroundColor,
                page: style('body').backgroundColor, frame: fed.borderTopColor,
                lit: lit.outlineStyle === 'none' ? lit.backgroundColor : lit.outlineColor,
                fault: style('.backdrop mark.fault').backgroundColor,
                line: style('.backdrop mark.fault').textDecorationColor,
            };
        });
        const rgb = (c) => c.match(/[\d.]+/g).map(Number);
        const opaque = (c) => (rgb(c).length < 4 || rgb(c)[3] > 0 ? c : colours.field);
        const luminance = (c) => rgb(opaque(c)).slice(0, 3).map((v) => v / 255)
            .map((v) => (v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
            .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
        const ratio = (a, b) => {
            const [x, y] = [luminance(colours[a]), luminance(colours[b])];
            return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05);
        };
        const forced = name === 'forced-colors';
        if (process.env.QM_SHOTS) await tab.screenshot({ path: `${process.env.QM_SHOTS}/marks-${value}.png` });
        // Forced colours draw no mark behind text: the field's mark is an outline.
        const pairs = forced ? [['text', 'field', 4.5], ['lit', 'field', 3], ['line', 'field', 3]]
            : [['text', 'lit', 4.5], ['text', 'fault', 4.5], ['lit', 'field', 3], ['line', 'field', 3],
                ['line', 'fault', 3]];
        for (const [a, b, least] of [...pairs, ['frame', 'page', 3]]) {
            const figure = ratio(a, b);
            console.log(`contrast ${value} ${a}/${b}: ${figure.toFixed(2)}:1`);
            assert.ok(figure >= least, `${value}: ${a} on ${b} at ${figure.toFixed(2)}:1`);
        }
        await tab.close();
    }
}

run(async () => {
    const { browser, close } = await startBrowser();
    try {
        for (const check of [fieldToCharacters, charactersToFields, onlyWhileTrue, faultyPastes,
            scrolledMarks, markContrast]) {
            await check(browser);
            console.log(`ok: ${check.name}`);
        }
    } finally {
        await close();
    }
});
