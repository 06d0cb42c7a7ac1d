// The web page in a real browser, driven as a person would.
//
//   node tests/web/browser_test.mjs SITE REFERENCE WORKDIR
//
// SITE is the built page's folder, REFERENCE the Linux build's view_frames
// program (its frames and messages), WORKDIR a folder for the served copy,
// the browser's log and screenshots. Debian's Chromium is driven by
// Playwright, on a desktop and on emulated phones; the page is served from
// 127.0.0.1. Each case loads the page afresh, checks and accepts the start-up
// alert, and holds what the canvas shows to the Linux build, pixel for pixel.
import {execFileSync} from 'node:child_process';
import {createHash} from 'node:crypto';
import {appendFileSync, cpSync, mkdirSync, rmSync, writeFileSync} from 'node:fs';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

import {Failure, chromiumPid, cpuSeconds, launchChromium, launchChromiumProfile, serveFolder,
    sleep, waitFor} from '../support/browser/browser.mjs';

// The view's size and where it sits on the canvas, and the form's size
// (FormHeight is not needed here).
// facts:begin geometry_js
const View = 400;
const ViewLeft = 26;
const ViewTop = 26;
const FormWidth = 454;
const FormHeight = 464;
// facts:end

// Keys as the browser reports them: key, code, location, Windows key code.
const Numpad8 = ['8', 'Numpad8', 3, 104];
const Numpad5 = ['5', 'Numpad5', 3, 101];
const Numpad8LockOff = ['ArrowUp', 'Numpad8', 3, 38];
const ArrowUp = ['ArrowUp', 'ArrowUp', 0, 38];
const PageDown = ['PageDown', 'PageDown', 0, 34];
const Escape = ['Escape', 'Escape', 0, 27];

const Desktop = {viewport: {width: 800, height: 700}};
// Phones and tablets, as the page must fit them: CSS size and device pixel ratio.
const Screens = [[320, 568, 2], [390, 844, 3], [768, 1024, 2], [844, 390, 3]].map(
    ([width, height, ratio]) => ({
        name: `${width} x ${height} at ${ratio}`,
        options: {viewport: {width, height}, deviceScaleFactor: ratio, isMobile: true,
            hasTouch: true},
    }));

const note = (text) => console.log('web: ' + text);
const here = dirname(fileURLToPath(import.meta.url));
const [site, program, workdir] = process.argv.slice(2).map((arg) => resolve(arg));

// The Linux build's frames of a level walked or turned by one keypad key:
// the steps each frame digest is seen at (a maze that repeats shows one view
// at more than one step).
class Reference {
    constructor(served, level, steps, digit = 8) {
        const out = execFileSync(program, ['frames', level, String(steps), String(digit)],
            {cwd: served, maxBuffer: 1 << 30});
        const size = View * View * 3;
        this.steps = new Map();
        for (let k = 0; k * size < out.length; ++k) {
            const digest = createHash('sha256').update(out.subarray(k * size, (k + 1) * size))
                .digest('hex');
            const steps = this.steps.get(digest) || [];
            if (steps.at(-1) !== Math.floor(k / 2)) {
                steps.push(Math.floor(k / 2));
            }
            this.steps.set(digest, steps);
        }
    }

    // The first step at or after atLeast that shows digest, else its first.
    stepOf(digest, atLeast = 0) {
        const steps = this.steps.get(digest);
        return steps && (steps.find((step) => step >= atLeast) ?? steps[0]);
    }
}

// One browser context and its page: a desktop, or an emulated device.
class Session {
    constructor(browser, base, expected, name) {
        Object.assign(this, {browser, base, expected, name, dialogs: []});
    }

    // With profile, a browser of its own with a profile that is not incognito.
    async open({profile, ...options} = Desktop) {
        this.context = profile ? await launchChromiumProfile(join(workdir, 'profile'), options)
            : await this.browser.newContext(options);
        this.page = this.context.pages()[0] || await this.context.newPage();
        this.cdp = await this.context.newCDPSession(this.page);
        this.page.on('dialog', (dialog) => {
            this.dialogs.push(dialog.message());
            dialog.accept().catch(() => {});
        });
        this.page.on('console', (message) => appendFileSync(join(workdir, 'browser.log'),
            `${this.name}: ${message.type()}: ${message.text()}\n`));
        return this;
    }

    async close() {
        await this.context.close();
    }

    // Opens the page; returns the first alert's text, accepted.
    async load(query = '') {
        this.dialogs.length = 0;
        await this.page.goto(this.base + 'index.html' + query);
        return this.alert();
    }

    async alert() {
        await waitFor(20, 'an alert', () => this.dialogs.length > 0);
        return this.dialogs.shift();
    }

    // Opens the page and checks the start-up alert against the Linux build's.
    async start(query = '') {
        const text = await this.load(query);
        const expected = this.expected[/gamepad=1/.test(query) ? 'messageGamepad'
            : /arrows=1/.test(query) ? 'messageArrows' : 'message'];
        if (text !== expected) {
            throw new Failure(`the start-up alert says ${JSON.stringify(text)}, ` +
                `not ${JSON.stringify(expected)}`);
        }
    }

    evaluate(expression) {
        return this.page.evaluate(expression);
    }

    // The keypad key, exactly as a keyboard's: the keypad's location is a
    // flag of its own in the protocol, which Playwright's keyboard lacks.
    async press([key, code, location, windowsCode]) {
        const event = {key, code, isKeypad: location === 3, windowsVirtualKeyCode: windowsCode,
            nativeVirtualKeyCode: windowsCode, ...(key.length === 1 ? {text: key} : {})};
        await this.cdp.send('Input.dispatchKeyEvent', {type: 'keyDown', ...event});
        await this.cdp.send('Input.dispatchKeyEvent', {type: 'keyUp', ...event});
    }

    // A digest of the view's pixels, RGB row by row, as the reference's.
    viewDigest() {
        return this.page.evaluate(async ([left, top, size]) => {
            const canvas = document.getElementById('canvas');
            const rgba = canvas.getContext('2d').getImageData(left, top, size, size).data;
            const rgb = new Uint8Array(rgba.length / 4 * 3);
            for (let i = 0, o = 0; i < rgba.length; i += 4) {
                rgb[o++] = rgba[i];
                rgb[o++] = rgba[i + 1];
                rgb[o++] = rgba[i + 2];
            }
            const digest = await crypto.subtle.digest('SHA-256', rgb);
            return Array.from(new Uint8Array(digest), (b) => b.toString(16).padStart(2, '0'))
                .join('');
        }, [ViewLeft, ViewTop, View]);
    }

    screenshot(name) {
        return this.page.screenshot({path: join(workdir, name)});
    }

    // Waits until the view shows a frame of the reference; its step.
    async step(reference, atLeast = 0, seconds = 10) {
        let found;
        await waitFor(seconds, 'the view to show a frame the Linux build draws', async () => {
            found = reference.stepOf(await this.viewDigest(), atLeast);
            return found !== undefined;
        });
        return found;
    }

    async firstFrame(reference) {
        await waitFor(10, 'the start view the Linux build draws',
            async () => reference.stepOf(await this.viewDigest()) === 0);
    }

    // Waits until the walk has stopped; the step it stopped at.
    async settled(reference, atLeast = 0) {
        let last = await this.step(reference, atLeast);
        for (let k = 0; k < 100; ++k) {
            await sleep(150);
            const now = await this.step(reference, last);
            if (now === last) {
                return now;
            }
            last = now;
        }
        throw new Failure('the walk did not stop');
    }

    // Starts a walk with go, follows it frame by frame for a few samples and
    // stops it with stop; the steps seen must only ever grow.
    async walk(reference, go, stop, samples = 6) {
        const before = await this.settled(reference);
        await go();
        const seen = [before];
        for (let k = 0; k < samples; ++k) {
            await sleep(30);
            seen.push(await this.step(reference, seen.at(-1)));
        }
        await stop();
        seen.push(await this.settled(reference, seen.at(-1)));
        if (seen.some((step, k) => k > 0 && step < seen[k - 1]) || seen.at(-1) <= before) {
            throw new Failure(`the walk went through steps ${seen}, not forward`);
        }
        return seen;
    }

    keyWalk(reference, key, stop = Numpad5) {
        return this.walk(reference, () => this.press(key), () => this.press(stop));
    }

    // Taps the on-screen key that sends the DOM key code.
    tap(code) {
        return this.page.tap(`#keypad [data-keycode="${code}"]`);
    }

    noAlertCame() {
        if (this.dialogs.length > 0) {
            throw new Failure(`an alert came: ${JSON.stringify(this.dialogs)}`);
        }
    }
}

async function caseStartAndWalk(s, {maze}) {
    await s.start();
    await s.firstFrame(maze);
    await s.screenshot('start.png');
    note('the alert showed the start-up text; the start view is the Linux build\'s');

    const pid = chromiumPid();
    const cpuBefore = cpuSeconds(pid);
    const clockBefore = Date.now();
    const rates = [];
    await waitFor(20, 'a rate of 90 fps or more in the title', async () => {
        const found = /(\d+) fps/.exec(await s.page.title());
        if (found) {
            rates.push(Number(found[1]));
        }
        return rates.length > 0 && rates.at(-1) >= 90 && Date.now() - clockBefore > 3000;
    }, 250);
    const share = (cpuSeconds(pid) - cpuBefore) / ((Date.now() - clockBefore) / 1000);
    note(`title rates ${rates} fps; the browser used ${Math.round(100 * share)} % of one core`);
    if (await s.evaluate('document.getElementById("rate").textContent') !== await s.page.title()) {
        throw new Failure('the page does not show the program\'s title');
    }

    if (await s.evaluate('document.activeElement.id') !== 'canvas') {
        throw new Failure('the canvas does not have the focus after start-up');
    }
    note(`keypad 8 walked, keypad 5 stopped, step for step the Linux frames: ${
        await s.keyWalk(maze, Numpad8)}`);
    const stopped = (await s.keyWalk(maze, Numpad8)).at(-1);
    await s.press(Numpad8LockOff);
    await sleep(400);
    if (await s.settled(maze, stopped) !== stopped) {
        throw new Failure('keypad 8 with Num Lock off walked');
    }
    note('keypad 8 with Num Lock off did not walk');

    await s.evaluate(`document.addEventListener('keydown',
        (e) => { window.scrolled = !e.defaultPrevented; })`);
    for (const key of [ArrowUp, PageDown]) {
        await s.press(key);
        if (await s.evaluate('window.scrolled') !== false) {
            throw new Failure(`${key[0]} would scroll the page`);
        }
    }
    await s.press(Escape);
    await waitFor(5, 'the page to say the walk has ended', () => s.evaluate(
        `document.getElementById('status').textContent === 'The walk has ended.'
         && !document.getElementById('again').hidden`));
    await s.screenshot('ended.png');
    note('Esc ended the walk and the page offers to start again');
}

async function caseArrows(s, {maze}) {
    await s.start('?arrows=1');
    if (await s.evaluate('document.getElementById("arrows").checked') !== true) {
        throw new Failure('the --arrows check box is not ticked');
    }
    await s.firstFrame(maze);
    note(`with the check box ticked ArrowUp walked: ${await s.keyWalk(maze, ArrowUp)}`);
}

async function caseUnseenLevel(s, {unseen}) {
    await s.start('?level=shared/unseen.dat');
    await s.firstFrame(unseen);
    await s.keyWalk(unseen, Numpad8);
    note('?level=shared/unseen.dat loaded a new level, drawn as the Linux build draws it');
}

async function caseBadLevels(s, {bad, refused}) {
    for (const [query, expected] of bad) {
        await s.start(query);
        const text = await s.alert();
        if (text !== expected) {
            throw new Failure(`${query}: the alert says ${JSON.stringify(text)}, not ` +
                JSON.stringify(expected));
        }
        await waitFor(5, 'the page to say the program has ended', () => s.evaluate(
            `document.getElementById('status').textContent === 'The program has ended.'`));
        note(`${query}: ${text.split('\n').at(-1)}`);
    }
    for (const [query, expected] of refused) {
        const text = await s.load(query);
        if ((expected !== null && text !== expected) || !text.includes('mazewalk\n\n')) {
            throw new Failure(`${query}: the alert says ${JSON.stringify(text)}`);
        }
        note(`${query} refused: ${text.split('\n').at(-1)}`);
    }
}

// A pad, through a stand-in for the browser's Gamepad API with its standard
// layout: with --gamepad, the d-pad's up walks step for step as keypad 8 does,
// and letting go stops.
async function casePad(s, {maze}) {
    await s.context.addInitScript(() => {
        const buttons = Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}));
        const pad = {id: 'Stand-in pad', index: 0, connected: true, mapping: 'standard',
            timestamp: 1, axes: [0, 0, 0, 0], buttons};
        navigator.getGamepads = () => [pad, null, null, null];
        window.padButton = (index, pressed) => {
            buttons[index] = {pressed, touched: pressed, value: pressed ? 1 : 0};
            pad.timestamp += 1;
        };
    });
    await s.start('?gamepad=1');
    if (await s.evaluate('document.getElementById("gamepad").checked') !== true) {
        throw new Failure('the --gamepad check box is not ticked');
    }
    await s.firstFrame(maze);
    note(`with --gamepad, d-pad up walked and letting go stopped: ${await s.walk(maze,
        () => s.evaluate('padButton(12, true)'), () => s.evaluate('padButton(12, false)'))}`);
}

// Installable, and after one visit playable with the server gone: the page
// and its maze come from the service worker's cache, and a level never read
// is missing as it is online.
async function caseInstalledOffline(s, {maze, bad}, server) {
    await s.start();
    await s.firstFrame(maze);
    await s.evaluate('navigator.serviceWorker.ready.then(() => true)');
    const {installabilityErrors} = await s.cdp.send('Page.getInstallabilityErrors');
    if (installabilityErrors.length > 0) {
        throw new Failure(`Chromium would not install the page: ${
            JSON.stringify(installabilityErrors)}`);
    }
    await s.start();
    if (await s.evaluate('navigator.serviceWorker.controller !== null') !== true) {
        throw new Failure('no service worker controls the page after a reload');
    }
    await server.close();
    await s.start();
    await s.firstFrame(maze);
    const [query, expected] = bad.find(([level]) => level.endsWith('shared/missing.dat'));
    await s.start(query);
    const text = await s.alert();
    if (text !== expected) {
        throw new Failure(`offline, ${query}: the alert says ${JSON.stringify(text)}`);
    }
    note('installable; with the server stopped the page showed the maze, and a level ' +
        'never read was missing');
}

// On a phone held upright, the on-screen keys alone walk and turn, frame
// for frame as the keypad does.
async function casePhoneKeys(s, {maze, turnRight, turnLeft}) {
    await s.start();
    if (await s.evaluate('document.getElementById("keypad").hidden') !== false) {
        throw new Failure('a phone shows no on-screen keys');
    }
    await s.firstFrame(maze);
    note(`on a phone, taps on forward and stop walked: ${
        await s.walk(maze, () => s.tap(104), () => s.tap(101))}`);
    for (const [reference, code, name] of [[turnRight, 102, 'right'], [turnLeft, 100, 'left']]) {
        await s.start();
        await s.firstFrame(reference);
        note(`taps on turn ${name} and stop turned: ${
            await s.walk(reference, () => s.tap(code), () => s.tap(101), 2)}`);
    }
    await s.screenshot('phone.png');
    s.noAlertCame();
    await s.tap(27);
    await waitFor(5, 'the on-screen Esc to end the walk', () => s.evaluate(
        `document.getElementById('status').textContent === 'The walk has ended.'`));
    note('the on-screen Esc ended the walk');
}

// The page fits: never wider than the screen, the form at a whole number of
// device pixels a pixel (or shrunk where even one does not fit), placed on a
// whole device pixel.
async function caseFits(s, {maze}, ratio) {
    await s.start();
    await s.firstFrame(maze);
    const fit = await s.evaluate(`(() => {
        const at = document.getElementById('canvas').getBoundingClientRect();
        return {scroll: document.documentElement.scrollWidth, inner: window.innerWidth,
                left: at.left, top: at.top, right: at.right, width: at.width};
    })()`);
    const scale = fit.width * ratio / FormWidth;
    const whole = (x) => Math.abs(x - Math.round(x)) < 1e-3;
    if (fit.scroll > fit.inner || fit.right > fit.inner) {
        throw new Failure(`${s.name}: the page is ${fit.scroll} wide, the form ends at ` +
            `${fit.right}, the screen is ${fit.inner}`);
    }
    if (!(scale < 1 || whole(scale)) || !whole(fit.left * ratio) || !whole(fit.top * ratio)) {
        throw new Failure(`${s.name}: the form is at ${scale} device pixels a pixel, ` +
            `placed at ${fit.left * ratio}, ${fit.top * ratio}`);
    }
    note(`${s.name}: fits, the form at ${Math.round(scale * 100) / 100} device pixels a pixel`);
}

// A random maze of our own, never drawn before: walls ahead of the eye.
function unseenLevel() {
    const flags = [];
    for (let i = 0; i <= 20; ++i) {
        for (let j = 12; j <= 20; ++j) {
            for (const flag of 'AB') {
                if (Math.random() < 0.12) {
                    flags.push(`${i},${j},${flag}`);
                }
            }
        }
    }
    return execFileSync('python3', [join(here, '..', 'support', 'level.py'), '20', ...flags]);
}

async function main() {
    const served = join(workdir, 'site');
    rmSync(served, {recursive: true, force: true});
    cpSync(site, served, {recursive: true});
    mkdirSync(join(served, 'shared'));
    writeFileSync(join(served, 'shared', 'unseen.dat'), unseenLevel());
    writeFileSync(join(served, 'shared', 'malformed.dat'), '2\n0,0\n1,x\n');

    const loaderMessage = (level) => {
        let out;
        try {
            out = execFileSync(program, ['load', level], {cwd: served, encoding: 'utf8'});
        } catch (error) {
            out = error.stdout;
        }
        return 'mazewalk\n\n' + out;
    };
    const message = (...options) => execFileSync(program, ['message', ...options],
        {encoding: 'utf8'});
    const expected = {message: message(), messageArrows: message('--arrows'),
        messageGamepad: message('--gamepad')};
    const frames = {
        maze: new Reference(served, 'torv-2.dat', 200),
        unseen: new Reference(served, 'shared/unseen.dat', 200),
        // Short turns: a whole circle would show a view seen before.
        turnRight: new Reference(served, 'torv-2.dat', 30, 6),
        turnLeft: new Reference(served, 'torv-2.dat', 30, 4),
        bad: ['shared/malformed.dat', 'shared/missing.dat', '-missing.dat'].map(
            (level) => ['?level=' + level, loaderMessage(level)]),
        refused: [['?level=../index.html', 'mazewalk\n\n../index.html: a level path may not ' +
            'leave the page\'s folder with ".."'], ['?level=/index.html', null],
        ['?level=https://127.0.0.1/x.dat', null]],
    };

    const server = await serveFolder(served);
    const browser = await launchChromium();
    const phone = Screens.find((screen) => screen.name === '390 x 844 at 3');
    const cases = [
        ['desktop', Desktop, (s) => caseStartAndWalk(s, frames)],
        ['desktop', Desktop, (s) => caseArrows(s, frames)],
        ['desktop', Desktop, (s) => caseUnseenLevel(s, frames)],
        ['desktop', Desktop, (s) => caseBadLevels(s, frames)],
        ['desktop', Desktop, (s) => casePad(s, frames)],
        ['phone', phone.options, (s) => casePhoneKeys(s, frames)],
        ...Screens.map((screen) => [screen.name, screen.options,
            (s) => caseFits(s, frames, screen.options.deviceScaleFactor)]),
        // Last: it stops the server.
        ['desktop, installed', {...Desktop, profile: true},
            (s) => caseInstalledOffline(s, frames, server)],
    ];
    let failed = 0;
    try {
        for (const [name, options, run] of cases) {
            const s = await new Session(browser, server.url, expected, name).open(options);
            try {
                await run(s);
            } catch (error) {
                failed += 1;
                console.error(`FAIL: ${name}: ${error.message}`);
                await s.screenshot(`failure-${failed}.png`).catch(() => {});
            } finally {
                await s.close();
            }
        }
    } finally {
        await browser.close();
        await server.close();
    }
    return failed === 0 ? 0 : 1;
}

process.exitCode = await main();
