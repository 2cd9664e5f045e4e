// SPDX-License-Identifier: MIT
// Starts Debian's Chromium or Firefox headless through puppeteer-core (Chromium over the
// DevTools protocol, Firefox over WebDriver BiDi) and opens the web page from disk. QM_BROWSER
// names the engine (chromium, the default, or firefox). Every test needs a browser that starts:
// where it cannot, the test fails and says why.
'use strict';
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const page = process.env.QM_PAGE;
const engine = process.env.QM_BROWSER || 'chromium';
const kEngines = {
    chromium: { executable: process.env.QM_CHROMIUM || '/usr/bin/chromium', debianPackage: 'chromium' },
    firefox: { executable: process.env.QM_FIREFOX || '/usr/bin/firefox-esr', debianPackage: 'firefox-esr' },
};
if (!kEngines[engine]) throw new Error(`QM_BROWSER=${engine}: the page is tested in chromium or firefox`);

// The results' control names in label order, as the page and the window show them: "lbl", a
// field's key and "Data", the keys read from the catalogue through the command-line decoder
// (its --explain sources hold every field, in order). Asked for on first use only, so that a
// script that needs no names runs without the decoder.
let resultNames;
function catalogueResultNames() {
    if (!resultNames) {
        if (!process.env.QM_DECODE) throw new Error('QM_DECODE names no quillmark-decode to read the fields from');
        const record = JSON.parse(execFileSync(process.env.QM_DECODE, ['--json', '--explain'], { input: '' }));
        resultNames = Object.keys(record.sources).map((key) => `lbl${key}Data`);
    }
    return resultNames;
}

// No background traffic of the browser's own: the page is the only thing that could reach out.
// Shared memory files go to /tmp, since a container's /dev/shm is often too small.
const kChromiumFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
    '--no-first-run', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--disable-dev-shm-usage'];

// Firefox's preferences for the same: no update, telemetry or remote settings traffic, the
// clipboard readable by the test without a paste prompt, and the colour scheme the page is
// shown in (WebDriver BiDi has no media emulation, so a scheme is a browser of its own).
function firefoxPrefs(scheme) {
    const prefs = {
        'app.update.enabled': false,
        'datareporting.policy.dataSubmissionEnabled': false,
        'toolkit.telemetry.enabled': false,
        'browser.safebrowsing.malware.enabled': false,
        'browser.safebrowsing.phishing.enabled': false,
        'network.captive-portal-service.enabled': false,
        'network.connectivity-service.enabled': false,
        'dom.events.testing.asyncClipboard': true,
    };
    prefs['layout.css.prefers-color-scheme.content-override'] = scheme === 'dark' ? 0 : 1;
    return prefs;
}

// `scheme` ('light', the default, or 'dark') fixes the colour scheme of every tab for the whole
// browser in Firefox.
async function startBrowser({ scheme = 'light' } = {}) {
    if (!page || !fs.existsSync(page)) throw new Error(`the web page ${page} is not built`);
    const { executable, debianPackage } = kEngines[engine];
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmark-web-'));
    const options = engine === 'firefox'
        ? { browser: 'firefox', extraPrefsFirefox: firefoxPrefs(scheme), userDataDir: profile }
        : { args: [...kChromiumFlags, `--user-data-dir=${profile}`] };
    let browser;
    try {
        browser = await puppeteer.launch({ executablePath: executable, headless: true, timeout: 60000, ...options });
    } catch (error) {
        fs.rmSync(profile, { recursive: true, force: true });
        throw new Error(`${engine} (${executable}) cannot start, so the page cannot be tested: ` +
            `${error.message}\nInstall the Debian package ${debianPackage} (scripts/install-deps).`);
    }
    if (engine === 'chromium') {
        const cdp = await browser.target().createCDPSession();
        await cdp.send('Browser.grantPermissions',
            { permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite'] });
    }
    const close = async () => {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    };
    return { browser, close };
}

// A fresh tab with the page loaded from disk, its decoder ready and the controls it builds
// when idle after that (Copy link, the log's file button) there; every request it makes is
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
    await tab.waitForSelector('#logFile', { timeout: 10000 });
    return { tab, requests };
}

// Opens the page in a colour scheme, with `before` run on the tab before it loads: Chromium
// emulates the scheme in a tab of `browser`; Firefox shows `browser`'s light scheme, and needs a
// browser of its own for the dark one.
async function openPageIn(browser, scheme, before) {
    if (engine === 'chromium' || scheme === 'light') {
        const opened = await openPage(browser, async (tab) => {
            if (engine === 'chromium') await tab.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: scheme }]);
            if (before) await before(tab);
        });
        return { ...opened, close: () => opened.tab.close() };
    }
    const own = await startBrowser({ scheme });
    const opened = await openPage(own.browser, before);
    return { ...opened, close: own.close };
}

// Runs in the page: the result captions and whether the pointer pair is highlighted, as shown.
function shownResults(names) {
    return {
        captions: names.map((name) => document.getElementById(name).textContent),
        input: document.getElementById('txtDebugData').value,
        highlighted: ['lblDigitLoadData', 'lblDigitUnloadData']
            .map((name) => document.getElementById(name).classList.contains('differ')),
    };
}
const readResults = (tab) => tab.evaluate(shownResults, catalogueResultNames());

// Replaces the input box's text the way typing does (one editing command): Chromium inserts it
// as one input event, WebDriver BiDi types single characters only, so in Firefox the text goes
// in through the editing command that typing and input methods use.
async function enterText(tab, text) {
    await tab.$eval('#txtDebugData', (box) => { box.focus(); box.select(); });
    if (text === '') await tab.keyboard.press('Delete');
    else if (engine === 'chromium') await tab.keyboard.sendCharacter(text);
    else await tab.evaluate((t) => document.execCommand('insertText', false, t), text);
}

// The requests a tab made besides loading the page itself (which Firefox does not report).
// A data: URL is read from the page itself (Firefox decodes some of its own resources that way),
// so it is no access beyond the page.
const otherRequests = (requests) =>
    requests.filter((url) => url !== `file://${page}` && !url.startsWith('data:'));

function run(main) {
    main().then(() => process.exit(0), (error) => {
        console.error(`FAIL: ${error.stack || error.message}`);
        process.exit(1);
    });
}

module.exports = {
    engine, startBrowser, openPage, openPageIn, readResults, shownResults, enterText, otherRequests,
    run,
    get kResultNames() { return catalogueResultNames(); },
};
