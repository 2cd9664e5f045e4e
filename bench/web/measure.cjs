// SPDX-License-Identifier: MIT
// Measures the web page; see run.sh.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { engine, startBrowser, openPage, openPageIn, enterText } = require('../../tests/web/browser.cjs');

const kLoads = 25;
const kDecodes = 5000;
const kThirtyWords = Array.from({ length: 30 }, (_, i) =>
    (0x0008f5b4 + i * 0x01010101).toString(16).toUpperCase().padStart(8, '0')).join(' ');
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(3)} ms`;

async function main(shots) {
    const { browser, close } = await startBrowser();
    try {
        // Timings depend on what else the machine runs: say how busy it was.
        console.log(`browser: ${engine} ${await browser.version()}`);
        console.log(`load average ${os.loadavg().map((l) => l.toFixed(1)).join(' ')} on ${os.cpus().length} CPUs`);
        console.log(`page size: ${fs.statSync(process.env.QM_PAGE).size} bytes`);

        // From the start of the navigation (the page's time origin) to the decoder being ready.
        const ready = [];
        for (let i = 0; i < kLoads; ++i) {
            const { tab } = await openPage(browser);
            ready.push(await tab.evaluate(() => performance.getEntriesByName('quillmark-ready')[0].startTime));
            await tab.close();
        }
        console.log(`open to first decode possible: median ${ms(median(ready))}, ` +
            `min ${ms(Math.min(...ready))}, max ${ms(Math.max(...ready))} (${kLoads} loads)`);

        // The whole DeBug handler, decode and the fifteen results written, run synchronously.
        const { tab } = await openPage(browser);
        await enterText(tab, kThirtyWords);
        const perDecode = await tab.evaluate((count) => {
            const button = document.getElementById('cmdDebug');
            for (let i = 0; i < 200; ++i) button.click();
            const start = performance.now();
            for (let i = 0; i < count; ++i) button.click();
            return (performance.now() - start) / count;
        }, kDecodes);
        console.log(`one decode of a 30-word message (DeBug handler): ${ms(perDecode)} ` +
            `(mean of ${kDecodes})`);
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
