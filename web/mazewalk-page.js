// The page around mazewalk: it picks the level, fetches it into the program's
// file system, starts the program once, and says when the program has ended.
// A program never gets a second level, so a new maze, a level from disk or a
// change of option loads the page again: a fresh program every time.
(function () {
    'use strict';

    const DefaultLevel = 'torv-2.dat';
    // sessionStorage: {name, bytes}, the bytes one character each, kept exactly.
    const DiskLevelKey = 'mazewalk.disk-level';
    // The window's client area (shell/Form1.h), put in by the build.
    const FormWidth = @MAZEWALK_FACT_FormWidth@;
    const FormHeight = @MAZEWALK_FACT_FormHeight@;

    const params = new URLSearchParams(location.search);
    const canvas = document.getElementById('canvas');
    const maze = document.getElementById('maze');
    const arrows = document.getElementById('arrows');
    const gamepad = document.getElementById('gamepad');
    const keys = document.getElementById('keys');
    const keypad = document.getElementById('keypad');
    const stage = document.getElementById('stage');
    const rate = document.getElementById('rate');
    const fullscreen = document.getElementById('fullscreen');
    const file = document.getElementById('file');
    const status = document.getElementById('status');
    const again = document.getElementById('again');

    // Loads the page again with the parameters changed (null removes one).
    function startFresh(changes) {
        const next = new URLSearchParams(location.search);
        for (const [name, value] of Object.entries(changes)) {
            if (value === null) {
                next.delete(name);
            } else {
                next.set(name, value);
            }
        }
        location.search = next.toString();
    }

    // Why a level path is refused, or null. Only files of this site are
    // read: a path relative to the page, never climbing out of its folder.
    function refusalOf(path) {
        if (path === '') {
            return 'no level named';
        }
        if (/^[A-Za-z][A-Za-z0-9+.-]*:/.test(path)) {
            return 'a level is read from this site only, not from another address';
        }
        if (path.startsWith('/') || path.includes('\\')) {
            return 'a level is given by a path relative to this page, with "/" between folders';
        }
        if (path.split('/').includes('..')) {
            return 'a level path may not leave the page\'s folder with ".."';
        }
        return null;
    }

    function programEnded(exitStatus, text) {
        status.textContent = text || (exitStatus === 0
            ? 'The walk has ended.'
            : 'The program has ended.');
        again.hidden = false;
        again.focus();
    }

    // Ends before the program starts, as the program ends on a bad level: the
    // message as an alert, the same on the console.
    function refuse(message) {
        console.error('mazewalk: ' + message);
        alert('mazewalk\n\n' + message);
        programEnded(1);
    }

    // The on-screen keys: each press is the DOM key event a real key gives
    // (web/index.html carries it, made from facts/Keys.tsv), sent to the
    // canvas, so it takes the real key's path through SDL and the program.
    function sendKey(type, button) {
        const code = Number(button.dataset.keycode);
        const event = new KeyboardEvent(type, {
            key: button.dataset.key, code: button.dataset.code,
            location: Number(button.dataset.location), keyCode: code, which: code,
            bubbles: true, cancelable: true});
        canvas.dispatchEvent(event);
    }

    // Acts on the finger's touch, not on its lifting; the canvas keeps the
    // focus, so a keyboard still steers.
    function setUpKey(button) {
        function release() {
            if (button.classList.contains('down')) {
                button.classList.remove('down');
                sendKey('keyup', button);
            }
        }
        button.addEventListener('pointerdown', function (event) {
            event.preventDefault();
            if (button.setPointerCapture) {
                button.setPointerCapture(event.pointerId);
            }
            canvas.focus({preventScroll: true});
            button.classList.add('down');
            sendKey('keydown', button);
        });
        button.addEventListener('pointerup', release);
        button.addEventListener('pointercancel', release);
        button.addEventListener('lostpointercapture', release);
        // A touch's own mouse events and click would move the focus.
        button.addEventListener('touchstart', function (event) { event.preventDefault(); },
                                {passive: false});
        button.addEventListener('mousedown', function (event) { event.preventDefault(); });
        // A click with no pointer behind it: the keyboard or an assistive tool.
        button.addEventListener('click', function (event) {
            if (event.detail === 0) {
                canvas.focus({preventScroll: true});
                sendKey('keydown', button);
                sendKey('keyup', button);
            }
        });
    }

    function showKeys(shown) {
        keys.checked = shown;
        keypad.hidden = !shown;
        fitCanvas();
    }

    // The largest whole number of device pixels a program pixel that fits the
    // room beside the keys, so the form stays sharp at any device pixel
    // ratio; scaled down where even one does not fit the width, never wider
    // than the screen. Placed on a whole device pixel.
    function fitCanvas() {
        const ratio = window.devicePixelRatio || 1;
        const full = document.fullscreenElement === stage;
        const beside = !keypad.hidden && window.innerWidth > window.innerHeight;
        stage.classList.toggle('beside', beside);
        const margin = full ? 0 : 16;  // main's padding, both sides
        const keysBox = keypad.hidden ? {width: 0, height: 0} : keypad.getBoundingClientRect();
        const barBox = document.getElementById('bar').getBoundingClientRect();
        const width = document.documentElement.clientWidth - margin
            - (beside ? keysBox.width + 6 : 0);
        const height = window.innerHeight - margin - barBox.height - 6
            - (beside || keypad.hidden ? 0 : keysBox.height + 12);
        const acrossFit = width * ratio / FormWidth;
        const scale = acrossFit < 1 ? acrossFit
            : Math.max(1, Math.floor(Math.min(acrossFit, height * ratio / FormHeight)));
        canvas.style.width = Math.floor(FormWidth * scale) / ratio + 'px';
        canvas.style.height = Math.floor(FormHeight * scale) / ratio + 'px';
        canvas.style.marginLeft = canvas.style.marginTop = '0px';
        const at = canvas.getBoundingClientRect();
        canvas.style.marginLeft = (Math.ceil(at.left * ratio - 0.01) - at.left * ratio) / ratio + 'px';
        canvas.style.marginTop = (Math.ceil(at.top * ratio - 0.01) - at.top * ratio) / ratio + 'px';
    }

    // The level's name and bytes, or null bytes where there is no such file:
    // the program then reports it as it reports any missing level.
    async function readLevel() {
        if (params.has('disk')) {
            const stored = JSON.parse(sessionStorage.getItem(DiskLevelKey) || 'null');
            if (stored && stored.name === params.get('disk')) {
                return {path: stored.name, bytes: Uint8Array.from(stored.bytes, (c) => c.charCodeAt(0))};
            }
            return {path: params.get('disk'), bytes: null};
        }
        const path = params.has('level') ? params.get('level') : DefaultLevel;
        const refusal = refusalOf(path);
        if (refusal !== null) {
            return {path: path, refusal: refusal};
        }
        try {
            const response = await fetch(path, {cache: 'no-cache'});
            if (response.ok) {
                return {path: path, bytes: new Uint8Array(await response.arrayBuffer())};
            }
        } catch (error) {
            console.error('mazewalk: ' + path + ': ' + error);
        }
        return {path: path, bytes: null};
    }

    function programArguments(level) {
        const args = [];
        if (arrows.checked) {
            args.push('--arrows');
        }
        if (gamepad.checked) {
            args.push('--gamepad');
        }
        if (level.path !== DefaultLevel) {
            // After "--", a path starting with "-" is read as a path.
            args.push('--', level.path);
        }
        return args;
    }

    async function start() {
        const level = await readLevel();
        if (level.refusal) {
            refuse(level.path + ': ' + level.refusal);
            return;
        }
        window.Module = {
            canvas: canvas,
            arguments: programArguments(level),
            preRun: [function () {
                if (level.bytes !== null) {
                    const folder = level.path.split('/').slice(0, -1).join('/');
                    if (folder !== '') {
                        Module.FS.mkdirTree(folder);
                    }
                    Module.FS.writeFile(level.path, level.bytes);
                }
                canvas.focus();
            }],
            print: function (text) { console.log(text); },
            printErr: function (text) { console.error(text); },
            onProgramEnded: programEnded,
            onAbort: function () { programEnded(1, 'The program has stopped on an error.'); },
        };
        const program = document.createElement('script');
        program.src = 'mazewalk.js';
        document.body.appendChild(program);
    }

    maze.value = params.get('level') || DefaultLevel;
    arrows.checked = params.get('arrows') === '1';
    gamepad.checked = params.get('gamepad') === '1';
    // Shown by default where no pointer is fine enough to need no keys of its
    // own (a phone or a tablet); the link remembers a choice either way.
    showKeys(params.has('keys') ? params.get('keys') === '1'
        : !window.matchMedia('(any-pointer: fine)').matches);
    keypad.querySelectorAll('button').forEach(setUpKey);
    keypad.addEventListener('contextmenu', function (event) { event.preventDefault(); });
    keys.addEventListener('change', function () {
        const next = new URLSearchParams(location.search);
        next.set('keys', keys.checked ? '1' : '0');
        history.replaceState(null, '', '?' + next.toString());
        showKeys(keys.checked);
    });
    maze.addEventListener('change', function () {
        startFresh({level: maze.value, disk: null});
    });
    arrows.addEventListener('change', function () {
        startFresh({arrows: arrows.checked ? '1' : null});
    });
    gamepad.addEventListener('change', function () {
        startFresh({gamepad: gamepad.checked ? '1' : null});
    });
    document.getElementById('open').addEventListener('click', function () {
        file.click();
    });
    file.addEventListener('change', async function () {
        const chosen = file.files[0];
        if (!chosen) {
            return;
        }
        const bytes = new Uint8Array(await chosen.arrayBuffer());
        sessionStorage.setItem(DiskLevelKey, JSON.stringify(
            {name: chosen.name, bytes: Array.from(bytes, (b) => String.fromCharCode(b)).join('')}));
        startFresh({disk: chosen.name, level: null});
    });
    again.addEventListener('click', function () {
        location.reload();
    });
    window.addEventListener('resize', fitCanvas);
    // A phone shows no tab title: the page shows the program's (the rate).
    new MutationObserver(function () { rate.textContent = document.title; })
        .observe(document.querySelector('title'), {childList: true, characterData: true,
                                                   subtree: true});
    fullscreen.hidden = !document.fullscreenEnabled;
    fullscreen.addEventListener('click', function () {
        if (document.fullscreenElement) {
            document.exitFullscreen();
        } else {
            stage.requestFullscreen().catch(function () {});
        }
        canvas.focus({preventScroll: true});
    });
    document.addEventListener('fullscreenchange', fitCanvas);
    fitCanvas();
    start();
    // Where the browser allows one (HTTPS or localhost), a service worker
    // keeps the page, the program and the mazes for playing offline; the
    // page plays the same without it. Registered once the page has loaded,
    // so its copies do not slow the first start.
    if ('serviceWorker' in navigator) {
        window.addEventListener('load', function () {
            navigator.serviceWorker.register('mazewalk-worker.js').catch(function (error) {
                console.warn('mazewalk: no offline copy: ' + error);
            });
        });
    }
})();
