// SPDX-License-Identifier: MIT
// How fast the page's marks follow the caret and the pointer on a full 65,536-character input:
// from the key press (or the pointer reaching a result) to the marks changed, and to the next
// frame after it, taken from the events' own time stamps. Also the DeBug handler on that input,
// marks and notes included. See run.sh.
'use strict';
const os = require('node:os');
const { startBrowser, openPage } = require('../../tests/web/browser.cjs');

const kMoves = 200;
const kWorkedExample = '0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 ' +
    '00090020 00000000 00000000 00000000 000003E5 0000B1A3';
const stats = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
    return `median ${at(0.5).toFixed(2)} ms, 95th ${at(0.95).toFixed(2)} ms, max ${at(1).toFixed(2)} ms`;
};

// Installs a recorder in the page: each `start` event's time stamp (when the input arrived)
// and the moment it is dispatched, then the time the marks changed (a class set on a mark or a
// result) and the frame after it. Dispatch to change is the page's own work; the input's time
// stamp to the frame is what a person waits.
const record = (tab, start) => tab.evaluate((type) => {
    window.lags = [];
    let begun = null;
    let dispatched = null;
    document.addEventListener(type, (event) => {
        begun = event.timeStamp;
        dispatched = performance.now();
    }, true);
    new MutationObserver(() => {
        if (begun === null) return;
        const from = begun;
        begun = null;
        const work = performance.now() - dispatched;
        requestAnimationFrame(() => setTimeout(() => window.lags.push([work, performance.now() - from])));
    }).observe(document.body, { subtree: true, attributeFilter: ['class'] });
}, start);
const lags = async (tab) => {
    await new Promise((resolve) => setTimeout(resolve, 200));
    return tab.evaluate(() => window.lags);
};

async function main() {
    const { browser, close } = await startBrowser();
    try {
        console.log(`load average ${os.loadavg().map((l) => l.toFixed(1)).join(' ')} on ${os.cpus().length} CPUs`);
        for (const [name, head] of [['plain', ''], ['300 line breaks and an astral character first', `${'\n'.repeat(300)}\u{1F600} `]]) {
            const text = `${head}${kWorkedExample} ${'00000000 '.repeat(8000)}`.slice(0, 65536);
            const { tab } = await openPage(browser, (t) => t.setViewport({ width: 1280, height: 1000 }));
            await tab.$eval('#txtDebugData', (box, t) => { box.focus(); document.execCommand('insertText', false, t); }, text);
            const debug = await tab.evaluate(() => {
                const button = document.getElementById('cmdDebug');
                const times = [];
                for (let i = 0; i < 20; ++i) {
                    const begin = performance.now();
                    button.click();
                    times.push(performance.now() - begin);
                }
                return times;
            });
            console.log(`[${name}] DeBug on ${text.length} characters, marks and notes included: ${stats(debug)}`);

            // The caret between word 3's fourth and fifth digit: TermType framed, then not.
            const at = head.length + 18 + 4;
            await tab.$eval('#txtDebugData', (box, p) => { box.focus(); box.setSelectionRange(p, p); }, at);
            await record(tab, 'keydown');
            for (let i = 0; i < kMoves; ++i) await tab.keyboard.press(i % 2 ? 'ArrowRight' : 'ArrowLeft');
            const caret = await lags(tab);
            console.log(`[${name}] caret move: key press to the next frame with results framed: ` +
                `${stats(caret.map((l) => l[1]))}; the page's own work: ${stats(caret.map((l) => l[0]))} ` +
                `(${caret.length} moves)`);

            // The pointer from one result to the next: its characters marked.
            await record(tab, 'pointerover');
            const boxes = [];
            for (const id of ['lblTermTypeData', 'lblOrigTypeData']) {
                const r = await (await tab.$(`#${id}`)).boundingBox();
                boxes.push([r.x + r.width / 2, r.y + r.height / 2]);
            }
            for (let i = 0; i < kMoves; ++i) await tab.mouse.move(...boxes[i % 2]);
            const pointer = await lags(tab);
            console.log(`[${name}] pointer on a result: pointer move to the next frame with its ` +
                `characters marked: ${stats(pointer.map((l) => l[1]))}; the page's own work: ` +
                `${stats(pointer.map((l) => l[0]))} (${pointer.length} moves)`);
            await tab.close();
        }
    } finally {
        await close();
    }
}

main().catch((error) => {
    console.error(error.stack || error.message);
    process.exit(1);
});
