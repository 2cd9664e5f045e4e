// SPDX-License-Identifier: MIT
// Starts Debian's Chromium headless through puppeteer-core and opens the web page from disk.
// Every test needs a browser that starts: where it cannot, the test fails and says why.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const page = process.env.QM_PAGE;
const chromium = process.env.QM_CHROMIUM || '/usr/bin/chromium';

// In label order, as the page and the window show them.
const kResultNames = [
    'lblCallRegisterData', 'lblMainPMData', 'lblAuxPMData', 'lblOrigTypeData', 'lblTermTypeData',
    'lblOrigTNData', 'lblTermTNData', 'lblQueueData', 'lblCRLinkData', 'lblCRBakLinkData',
    'lblAuxCRData', 'lblCRDialedData', 'lblDigitLoadData', 'lblDigitUnloadData', 'lblDigsDialedData',
];

// No background traffic of the browser's own: the page is the only thing that could reach out.
// Shared memory files go to /tmp, since a container's /dev/shm is often too small.
const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-dev-shm-usage'];

async function startBrowser() {
    if (!page || !fs.existsSync(page)) throw new Error(`the web page ${page} is not built`);
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmark-web-'));
    let browser;
    try {
        browser = await puppeteer.launch({
            executablePath: chromium, headless: true,
            args: [...kFlags, `--user-data-dir=${profile}`], timeout: 60000,
        });
    } catch (error) {
        fs.rmSync(profile, { recursive: true, force: true });
        throw new Error(`Chromium (${chromium}) cannot start, so the page cannot be tested: ` +
            `${error.message}\nInstall the Debian package chromium (scripts/install-deps).`);
    }
    const cdp = await browser.target().createCDPSession();
    await cdp.send('Browser.grantPermissions',
        { permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite'] });
    const close = async () => {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    };
    return { browser, close };
}

// A fresh tab with the page loaded from disk and its decoder ready; every request it makes is
// recorded in `requests`, everything its security policy refuses in window.refused.
async function openPage(browser, before) {
    const tab = await browser.newPage();
    const requests = [];
    tab.on('request', (request) => requests.push(request.url()));
    await tab.evaluateOnNewDocument(() => {
        window.refused = [];
        document.addEventListener('securitypolicyviolation', (event) =>
            window.refused.push(`${event.violatedDirective} ${event.blockedURI}`));
    });
    if (before) await before(tab);
    await tab.goto(`file://${page}`);
    await tab.waitForSelector('html[data-ready]', { timeout: 10000 });
    return { tab, requests };
}

// The fifteen result captions and whether the pointer pair is highlighted, as shown.
const readResults = (tab) => tab.evaluate((names) => ({
    captions: names.map((name) => document.getElementById(name).textContent),
    input: document.getElementById('txtDebugData').value,
    highlighted: ['lblDigitLoadData', 'lblDigitUnloadData']
        .map((name) => document.getElementById(name).classList.contains('differ')),
}), kResultNames);

// Replaces the input box's text the way typing does (one editing command).
async function enterText(tab, text) {
    await tab.$eval('#txtDebugData', (box) => { box.focus(); box.select(); });
    if (text === '') await tab.keyboard.press('Delete');
    else await tab.keyboard.sendCharacter(text);
}

function run(main) {
    main().then(() => process.exit(0), (error) => {
        console.error(`FAIL: ${error.stack || error.message}`);
        process.exit(1);
    });
}

module.exports = { kResultNames, startBrowser, openPage, readResults, enterText, run };
