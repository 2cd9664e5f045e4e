// SPDX-License-Identifier: MIT
// A decode shared as a link. After "DeBug" the address's fragment holds the decoded text:
// "#d=" and the text percent-encoded, then "&v=" and this page's version. Opening such an
// address fills the input box and decodes it. Browsers keep the fragment to themselves (it is
// never sent to any server), so the dump stays on the machine until someone shares the link.
// The address is replaced, not added to the history, so Back still leaves the page.
'use strict';
// eslint-disable-next-line no-unused-vars
function QuillmarkLinks({ version, open, copy }) {
    // Longer texts make addresses that browsers and mail programs cut or refuse.
    const kMostBytes = 51200;
    const make = (tag, props) => Object.assign(document.createElement(tag), props);
    // The button and its lines are built when the page is idle after its first paint, or when
    // a decode or an opened link has something to say, if that comes sooner. The button goes
    // before the log view's file button, whichever is built first.
    let status = null;
    function addControls() {
        if (status) return;
        const button = make('button', { id: 'cmdCopyLink', type: 'button', textContent: 'Copy link' });
        const about = make('p', {
            id: 'linkAbout', className: 'hint',
            textContent: 'A link holds the dump it shows, in the part of the address after "#", ' +
                'which the browser never sends to any server.',
        });
        status = make('p', { id: 'linkStatus', className: 'hint' });
        status.setAttribute('aria-live', 'polite');
        const commands = document.querySelector('.commands');
        commands.insertBefore(button, document.getElementById('logFile'));
        commands.after(about, status);
        button.addEventListener('click', copyLink);
    }
    const say = (text) => {
        addControls();
        status.textContent = text;
    };
    const bytes = (text) => new TextEncoder().encode(text).length;
    // A lone surrogate cannot be percent-encoded; the module reads it as U+FFFD anyway.
    const wellFormed = (text) => (text.toWellFormed ? text.toWellFormed()
        : text.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD'));
    // The address is written once the script that decoded is done, so that many decodes in one
    // go (a script clicking DeBug in a loop) write it once: each write costs the browser tens of
    // milliseconds, and Chromium stops taking them when they come too often.
    let placing = null;
    const place = (fragment) => {
        if (placing === null) {
            queueMicrotask(() => {
                history.replaceState(history.state, '', location.pathname + location.search + placing);
                placing = null;
            });
        }
        placing = fragment;
    };
    let linked = false;  // the address holds the text shown
    let onDecode = '';   // what to say once the dump of an opened link is decoded

    function decoded(text) {
        const size = bytes(text);
        linked = size <= kMostBytes;
        if (!linked) {
            place('');
            say(`No link: the text is ${size} bytes long, and a link holds at most ${kMostBytes}.`);
            return;
        }
        place(`#d=${encodeURIComponent(wellFormed(text))}&v=${encodeURIComponent(version)}`);
        say(onDecode);
        onDecode = '';
    }

    function cleared() {
        if (location.hash !== '' || placing !== null) place('');
        linked = false;
    }

    async function copyLink() {
        if (!linked) {
            say(status.textContent || 'No link yet: a link holds a decoded dump; press DeBug first.');
            return;
        }
        say((await copy(location.href)) ? 'Link copied.' : 'The clipboard cannot be written. Nothing was copied.');
    }

    // The address's dump, if it holds one, decoded as it was when the link was made.
    function read() {
        const fields = new URLSearchParams(location.hash.slice(1));
        const text = fields.get('d');
        if (text === null) return;
        const from = fields.get('v');
        if (from !== version) {
            onDecode = from ? `This link was made by Quillmark ${from}: the decode it showed came ` +
                `from that version. This page, version ${version}, decoded the dump anew.`
                : `This link names no version: its decode may come from another one than ${version}.`;
        }
        open(text);
    }

    window.addEventListener('hashchange', read);
    return { decoded, cleared, read, addControls };
}
