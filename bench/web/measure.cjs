// SPDX-License-Identifier: MIT
// Measures the web page; see run.sh.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { engine, startBrowser, openPage, openPageIn, enterText } = require('../../tests/web/browser.cjs');

const kRuns = 15;
const kDecodes = 5000;
const kThirtyWords = Array.from({ length: 30 }, (_, i) =>
    (0x0008f5b4 + i * 0x01010101).toString(16).toUpperCase().padStart(8, '0')).join(' ');
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(3)} ms`;

// The page's parts: the style, the module (compressed, as base64) and the scripts (the module's
// loader at the top, the page script at the end).
function sizes(html) {
    const bytes = (text) => Buffer.byteLength(text, 'utf8');
    const style = bytes(/<style>([^]*?)<\/style>/.exec(html)[1]);
    const scripts = Array.from(html.matchAll(/<script>([^]*?)<\/script>/g), (match) => bytes(match[1]));
    const module = bytes((/id="decoderModule">([^<]*)</.exec(html) || ['', ''])[1]);
    return `${bytes(html)} bytes: style ${style}, module ${module}, scripts ${scripts.join(' + ')}`;
}

async function main(shots) {
    const { browser, close } = await startBrowser();
    try {
        // Timings depend on what else the machine runs: say how busy it was.
        console.log(`browser: ${engine} ${await browser.version()}`);
        console.log(`load average ${os.loadavg().map((l) => l.toFixed(1)).join(' ')} on ${os.cpus().length} CPUs`);
        console.log(`page size: ${sizes(fs.readFileSync(process.env.QM_PAGE, 'utf8'))}`);

        // Opening a new tab with the page until the first decode is possible, against an empty
        // page that says it is ready from its one script, in turns, so that both meet the same
        // load of the machine.
        const empty = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'quillmark-bench-')), 'empty.html');
        fs.writeFileSync(empty, '<!DOCTYPE html><html><head><meta charset="utf-8"><title>empty</title>' +
            '</head><body><script>document.documentElement.dataset.ready = "true";</script></body></html>');
        // The page's own clock tells, with less noise, when it was ready and when it had loaded
        // (from the start of its navigation).
        const times = { page: [], empty: [] };
        const inPage = { ready: [], load: [] };
        for (let i = 0; i < kRuns + 1; ++i) {
            for (const [name, file] of [['page', process.env.QM_PAGE], ['empty', empty]]) {
                const start = performance.now();
                const tab = await browser.newPage();
                await tab.goto(`file://${file}`);
                await tab.waitForSelector('html[data-ready]');
                if (i > 0) times[name].push(performance.now() - start);  // the first warms up
                if (i > 0 && name === 'page') {
                    const [ready, load] = await tab.evaluate(() => [
                        performance.getEntriesByName('quillmark-ready')[0]?.startTime ?? NaN,
                        performance.getEntriesByType('navigation')[0].loadEventEnd]);
                    inPage.ready.push(ready);
                    inPage.load.push(load);
                }
                await tab.close();
            }
        }
        fs.rmSync(path.dirname(empty), { recursive: true, force: true });
        const [page, none] = [median(times.page), median(times.empty)];
        console.log(`open to first decode possible: median ${ms(page)} against ${ms(none)} for an ` +
            `empty page (${kRuns} runs in turns)`);
        console.log(`ready ratio, page to empty page: ${(page / none).toFixed(2)}x (the aim: 1.20x or less)`);
        console.log(`in the page, from its navigation: ready at ${ms(median(inPage.ready))}, loaded at ` +
            `${ms(median(inPage.load))} (medians)`);

        // The whole DeBug handler, decode, the fifteen results, marks and notes written, run
        // synchronously: the same message again, and two messages in turns (each decode then
        // changes results and marks; the time of putting the text into the box is taken off).
        const { tab } = await openPage(browser);
        await enterText(tab, kThirtyWords);
        const perDecode = await tab.evaluate((count, other) => {
            const [box, button] = ['txtDebugData', 'cmdDebug'].map((id) => document.getElementById(id));
            const texts = [box.value, other];
            const time = (job) => {
                const start = performance.now();
                for (let i = 0; i < count; ++i) job(i);
                return performance.now() - start;
            };
            time(() => button.click());
            const same = time(() => button.click());
            const setting = time((i) => { box.value = texts[i % 2]; });
            const turns = time((i) => { box.value = texts[i % 2]; button.click(); });
            return [same / count, (turns - setting) / count];
        }, kDecodes, kThirtyWords.replace(/^(\S+ \S+ )\S+ \S+/, '$1000A0421 00001A48'));
        console.log(`one decode of a 30-word message (DeBug handler): ${ms(perDecode[0])} the same ` +
            `message again, ${ms(perDecode[1])} two messages in turns (means of ${kDecodes})`);
        await tab.close();

        if (shots) await screenshots(browser, shots);
    } finally {
        await close();
    }
}

async function screenshots(browser, directory) {
    fs.mkdirSync(directory, { recursive: true });
    for (const scheme of ['light', 'dark']) {
        for (const [name, width, height] of [['phone', 390, 844], ['desktop', 1280, 800]]) {
            const { tab, close } = await openPageIn(browser, scheme, (t) => t.setViewport({ width, height }));
            await enterText(tab, `BUG4321 ${kThirtyWords.replace(/^(\S+ \S+ \S+ )\S+/, '$1000A0421')}`);
            await tab.click('#cmdTrim');
            await tab.click('#cmdDebug');
            await tab.hover('#lblTermTypeData');  // TermType's characters marked in the input
            const file = path.join(directory, `quillmark-${engine}-${name}-${scheme}.png`);
            await tab.screenshot({ path: file, fullPage: true });
            console.log(`screenshot: ${file}`);
            if (name === 'desktop') {
                await tab.click('#cmdCopyResult');
                await tab.waitForSelector('#msgBox[open]');
                const box = path.join(directory, `quillmark-${engine}-report-${scheme}.png`);
                await tab.screenshot({ path: box });
                console.log(`screenshot: ${box}`);
                // A dump wrapped over two lines, its fault marked and told, the caret in word 3.
                await tab.keyboard.press('Enter');
                await enterText(tab, kThirtyWords.replace(/^((\S+ ){5}\S+) /, '$1\n'));
                await tab.click('#cmdDebug');
                await tab.$eval('#txtDebugData', (input) => { input.focus(); input.setSelectionRange(22, 22); });
                const faults = path.join(directory, `quillmark-${engine}-faults-${scheme}.png`);
                await tab.screenshot({ path: faults });
                console.log(`screenshot: ${faults}`);
            }
            await close();
        }
    }
}

main(process.argv[2]).catch((error) => {
    console.error(error.stack || error.message);
    process.exit(1);
});
