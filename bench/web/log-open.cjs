#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// Times the page's log view: a 20 MB console log opened by the file button, from the choice to
// its messages listed and counted, and the longest the page left a 10 ms timer waiting
// meanwhile (how long input would have waited). With a folder named, also screenshots the log
// view with its chart, light and dark. (tests/web/logview.cjs times the long paste.)
//   NODE_PATH=BUILD/tests/web/modules/node_modules QM_PAGE=PAGE QM_BROWSER=chromium|firefox \
//       node bench/web/log-open.cjs [SCREENSHOT_DIR]
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { engine, startBrowser, openPage, openPageIn } = require('../../tests/web/browser.cjs');
const { consoleLog } = require('../../tests/web/console-log.cjs');

const kRuns = 3;
const ms = (value) => `${value.toFixed(0)} ms`;

async function openLog(tab, file) {
    await tab.evaluate(() => {
        window.took = null;
        let last = performance.now();
        let longest = 0;
        const timer = setInterval(() => {
            const now = performance.now();
            longest = Math.max(longest, now - last);
            last = now;
        }, 10);
        let start = 0;
        document.getElementById('logFile').addEventListener('change', () => { start = performance.now(); last = start; }, { once: true });
        new MutationObserver((_, observer) => {
            // The log view is built when the first log comes, so its heading is looked for anew.
            const heading = document.getElementById('logHeading');
            if (!heading || !/: \d+ BUG message/.test(heading.textContent)) return;
            observer.disconnect();
            requestAnimationFrame(() => setTimeout(() => {
                clearInterval(timer);
                const total = document.querySelector('#dumpList li').getAttribute('aria-setsize');
                window.took = [performance.now() - start, longest, total];
            }));
        }).observe(document.body, { childList: true, characterData: true, subtree: true });
    });
    await (await tab.$('#logFile')).uploadFile(file);
    return (await tab.waitForFunction(() => window.took, { timeout: 120000 })).jsonValue();
}

async function main(shots) {
    const { browser, close } = await startBrowser();
    const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmark-log-'));
    try {
        console.log(`browser: ${engine} ${await browser.version()}`);
        console.log(`load average ${os.loadavg().map((l) => l.toFixed(1)).join(' ')} on ${os.cpus().length} CPUs`);
        const big = path.join(work, 'console-20MB.log');
        fs.writeFileSync(big, consoleLog({ bytes: 20 << 20 }).text);
        for (let i = 0; i < kRuns; ++i) {
            const { tab } = await openPage(browser);
            const [took, longest, items] = await openLog(tab, big);
            console.log(`20 MB log: ${items} messages listed in ${ms(took)}, the page busiest for ${ms(longest)} at a time`);
            await tab.close();
        }
        if (shots) {
            fs.mkdirSync(shots, { recursive: true });
            const small = path.join(work, 'console.log');
            fs.writeFileSync(small, consoleLog({ bytes: 30000 }).text);
            for (const scheme of ['light', 'dark']) {
                const { tab, close: closeTab } = await openPageIn(browser, scheme);
                await tab.setViewport({ width: 1100, height: 1000 });
                await openLog(tab, small);
                const file = path.join(shots, `logview-${engine}-${scheme}.png`);
                await tab.screenshot({ path: file, fullPage: true });
                console.log(`screenshot: ${file}`);
                await closeTab();
            }
        }
    } finally {
        await close();
        fs.rmSync(work, { recursive: true, force: true });
    }
}

main(process.argv[2]).catch((error) => {
    console.error(error);
    process.exit(1);
});
