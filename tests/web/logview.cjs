// SPDX-License-Identifier: MIT
// A decode shared as a link, and a whole console log opened in the page: its list stepped
// through with keys and its dumps checked against quillmark-decode, a long paste timed.
'use strict';
const assert = require('node:assert/strict');
const { engine, startBrowser, openPage, readResults, otherRequests, run } = require('./browser.cjs');

const kWorkedExample = '0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 ' +
    '00090020 00000000 00000000 00000000 000003E5 0000B1A3';
const linkOf = (text, version) => `#d=${encodeURIComponent(text)}&v=${version}`;
const say = (tab) => tab.$eval('#linkStatus', (p) => p.textContent);

async function links(browser) {
    const { tab, requests } = await openPage(browser);
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
        await other.goto(address.replace(/&v=.*/, `&v=${from}`));
        await other.waitForFunction(() => document.getElementById('lblMainPMData').textContent !== '');
        assert.deepEqual(await readResults(other), shown);
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

run(async () => {
    const { browser, close } = await startBrowser();
    try {
        for (const check of [links]) {
            await check(browser);
            console.log(`ok: ${engine}: ${check.name}`);
        }
    } finally {
        await close();
    }
});
