// What the page costs a battery: the share of one core that headless
// Chromium's whole process tree takes while showing it, beside bare pages that
// do only what the page cannot avoid (a 10 ms timer; a whole new 454 x 464
// image on a canvas 100 times a second), each in a fresh browser, one after
// the other in one run. A hidden tab is measured beside a hidden bare timer
// page in a browser with a window (under Xvfb), since a headless page is never
// hidden.
//
// usage: node bench/measure-page.mjs SITE [--compare SITE] [--seconds N]
//                                    [--settle N] [--rounds N] [--quick]
//   SITE: the built page's folder (build-web-test/web/site); --compare: another
//   build of the page, measured beside it (say, one of an older commit);
//   --seconds: how long each case is measured (10); --settle: how long each
//   waits first (3); --rounds: how many times each visible case is measured,
//   the rounds interleaved, reporting the median and the range (3);
//   --quick: 3 s, 2 s, one round.
// bench/measure-page.sh builds the page and runs this.
import {spawn} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import {ChromiumPath, cpuSeconds, launchChromium, serveFolder, sleep, waitFor} from
    '../tests/support/browser/browser.mjs';

// Playwright from where browser.mjs has it, to attach to a browser we start.
const {chromium} = createRequire(new URL('../tests/support/browser/', import.meta.url))(
    'playwright-core');

const Usage = 'usage: measure-page.mjs SITE [--compare SITE] [--seconds N] [--settle N] ' +
    '[--rounds N] [--quick]';

// The window's client area (shell/Form1.h), which the bare pages match, and
// the view's place in it (not needed here).
// facts:begin geometry_js
const View = 400;
const ViewLeft = 26;
const ViewTop = 26;
const FormWidth = 454;
const FormHeight = 464;
// facts:end

function options(argv) {
    const o = {site: null, compare: null, seconds: 10, settle: 3, rounds: 3};
    for (let k = 0; k < argv.length; ++k) {
        const a = argv[k];
        if (a === '--quick') {
            Object.assign(o, {seconds: 3, settle: 2, rounds: 1});
        } else if (a === '--seconds' || a === '--settle' || a === '--rounds') {
            o[a.slice(2)] = Number(argv[++k]);
        } else if (a === '--compare') {
            o.compare = resolve(argv[++k]);
        } else if (!a.startsWith('-') && o.site === null) {
            o.site = resolve(a);
        } else {
            throw new Error(`measure-page.mjs: unknown argument ${a}`);
        }
    }
    if (o.site === null || !(o.seconds > 0) || !(o.settle >= 0) || !(o.rounds >= 1)) {
        throw new Error(Usage);
    }
    return o;
}

// The bare pages: a timer as the program's tick, counting its ticks; and the
// same timer putting a whole new image (every pixel a new colour) on a canvas
// of the form's size, as a present does.
const BareTimer = `<!doctype html><title>timer</title><script>
window.ticks = 0;
function tick() { ++window.ticks; setTimeout(tick, 10); }
setTimeout(tick, 10);
</script>`;
const BarePresent = `<!doctype html><title>present</title>
<canvas id="c" width="${FormWidth}" height="${FormHeight}"></canvas><script>
window.ticks = 0;
const context = document.getElementById('c').getContext('2d');
const image = context.createImageData(${FormWidth}, ${FormHeight});
const pixels = new Uint32Array(image.data.buffer);
function tick() {
    ++window.ticks;
    pixels.fill(0xff000000 | (window.ticks * 0x010305 & 0xffffff));
    context.putImageData(image, 0, 0);
    setTimeout(tick, 10);
}
setTimeout(tick, 10);
</script>`;

// The pid of the browser this node process started last: its child running
// Chromium.
function browserPid() {
    let found = null;
    for (const entry of readdirSync('/proc')) {
        if (!/^\d+$/.test(entry)) {
            continue;
        }
        try {
            const stat = readFileSync(`/proc/${entry}/stat`, 'utf8');
            const parent = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
            const command = readFileSync(`/proc/${entry}/cmdline`, 'utf8');
            if (parent === process.pid && command.includes('chromium') &&
                (found === null || Number(entry) > found)) {
                found = Number(entry);
            }
        } catch {
            // The process ended while we read.
        }
    }
    if (found === null) {
        throw new Error('no Chromium process found under this one');
    }
    return found;
}

// The share of one core the process tree of pid takes over seconds.
async function share(pid, seconds) {
    const before = cpuSeconds(pid);
    const start = process.hrtime.bigint();
    await sleep(seconds * 1000);
    const used = cpuSeconds(pid) - before;
    return 100 * used / (Number(process.hrtime.bigint() - start) / 1e9);
}

// Our page on page, started and past its message; holding keypad 6 when
// turning, so every tick turns and every frame changes.
async function startProgram(page, url, turning) {
    page.on('dialog', (dialog) => dialog.accept());
    await page.goto(url);
    await waitFor(20, 'the rate in the title', () => page.evaluate(() => /fps/.test(document.title)));
    if (turning) {
        // As the page's own keypad sends it: the key with Num Lock on.
        await page.evaluate(() => document.getElementById('canvas').dispatchEvent(
            new KeyboardEvent('keydown', {key: '6', code: 'Numpad6', location: 3, keyCode: 102,
                                          which: 102, bubbles: true, cancelable: true})));
    }
}

// Frames a second: our page's title, or a bare page's ticks over a second.
async function rateOf(page, ours) {
    if (ours) {
        return Number((await page.title()).replace(/[^0-9]/g, ''));
    }
    const before = await page.evaluate(() => window.ticks);
    await sleep(1000);
    return await page.evaluate(() => window.ticks) - before;
}

// One visible case, headless, in a browser of its own.
async function visibleCase(o, base, what) {
    const browser = await launchChromium();
    try {
        const pid = browserPid();
        const page = await browser.newPage({viewport: {width: 800, height: 700}});
        const ours = what.startsWith('page');
        if (ours) {
            await startProgram(page, base, what === 'page-turning');
        } else {
            await page.goto(base + what + '.html');
        }
        await sleep(o.settle * 1000);
        const percent = await share(pid, o.seconds);
        return {percent, rate: await rateOf(page, ours)};
    } finally {
        await browser.close();
    }
}

// A browser with a window on a private Xvfb, no driver's flags and nothing
// attached while it is measured; its DevTools port is read from the profile.
async function windowedBrowser(display) {
    const profile = mkdtempSync(join(tmpdir(), 'mazewalk-bench-'));
    const child = spawn(ChromiumPath, ['--no-sandbox', '--disable-gpu', '--no-first-run',
        '--no-default-browser-check', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', `--user-data-dir=${profile}`,
        '--remote-debugging-port=0', '--window-size=800,700', 'about:blank'],
    {stdio: 'ignore', env: {...process.env, DISPLAY: display}});
    const port = await waitFor(20, 'the browser\'s DevTools port', () => {
        try {
            return readFileSync(join(profile, 'DevToolsActivePort'), 'utf8').split('\n')[0];
        } catch {
            return null;
        }
    });
    return {
        pid: child.pid,
        connect: () => chromium.connectOverCDP(`http://127.0.0.1:${port}`),
        close: async () => {
            child.kill();
            await new Promise((done) => child.once('exit', done));
            // Its helpers may still be writing the profile as they end.
            rmSync(profile, {recursive: true, force: true, maxRetries: 10, retryDelay: 200});
        },
    };
}

// One hidden case: the page is started in the front tab, a blank tab is
// brought in front of it, and the driver lets go (while it is attached it
// keeps every tab visible). Afterwards the page's own record says it was
// hidden.
async function hiddenCase(o, base, what, display) {
    const browser = await windowedBrowser(display);
    try {
        let driver = await browser.connect();
        const context = driver.contexts()[0];
        const page = await context.newPage();
        const ours = what.startsWith('page');
        if (ours) {
            await startProgram(page, base, what === 'page-turning');
        } else {
            await page.goto(base + what + '.html');
        }
        await page.evaluate(() => {
            window.visibilities = [];
            document.addEventListener('visibilitychange',
                () => window.visibilities.push(document.visibilityState));
        });
        const front = context.pages().find((p) => p !== page);
        await front.bringToFront();
        await driver.close();
        await sleep(o.settle * 1000);
        const percent = await share(browser.pid, o.seconds);
        driver = await browser.connect();
        const again = driver.contexts()[0].pages().find((p) => p.url().startsWith(base));
        const seen = await again.evaluate(() => window.visibilities);
        await driver.close();
        if (!seen.includes('hidden')) {
            throw new Error(`the ${what} tab was never hidden (${seen.join(', ')})`);
        }
        return {percent, rate: null};
    } finally {
        await browser.close();
    }
}

async function withXvfb(run) {
    const display = `:${90 + (process.pid % 800)}`;
    const server = spawn('Xvfb', [display, '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                         {stdio: 'ignore'});
    try {
        await sleep(1000);
        return await run(display);
    } finally {
        server.kill();
    }
}

// The median of numbers.
function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

function printTable(o, rows) {
    console.log(`Share of one core, Chromium's process tree, ${o.seconds} s a case after ` +
                `${o.settle} s to settle; visible cases headless, ${o.rounds} round(s), median ` +
                '[range]:');
    const width = Math.max(...rows.map((r) => r.name.length));
    for (const r of rows) {
        const percents = r.runs.map((run) => run.percent);
        const range = percents.length > 1
            ? ` [${Math.min(...percents).toFixed(1)} to ${Math.max(...percents).toFixed(1)}]` : '';
        const rates = r.runs.map((run) => run.rate).filter((rate) => rate !== null);
        const rate = rates.length ? `, ${Math.min(...rates)} frames a second or more` : '';
        console.log(`  ${r.name.padEnd(width)}  ${median(percents).toFixed(1).padStart(5)} %` +
                    `${range}${rate}`);
    }
    const of = (name) => median(rows.find((r) => r.name === name).runs.map((run) => run.percent));
    for (const r of rows.filter((row) => row.name.endsWith('turning') && !row.hidden)) {
        console.log(`  ${r.name} / bare present: ` +
                    `${(of(r.name) / of('bare page, new image 100 times a second')).toFixed(2)}`);
    }
}

async function main() {
    const o = options(process.argv.slice(2));
    const site = await serveFolder(o.site);
    const compare = o.compare === null ? null : await serveFolder(o.compare);
    // The bare pages are served by a second server of their own.
    const bareFolder = mkdtempSync(join(tmpdir(), 'mazewalk-bare-'));
    writeFileSync(join(bareFolder, 'timer.html'), BareTimer);
    writeFileSync(join(bareFolder, 'present.html'), BarePresent);
    const bare = await serveFolder(bareFolder);
    const rows = [];
    const row = (name, base, what, hidden = false) => {
        rows.push({name, base, what, hidden, runs: []});
    };
    row('our page, standing still', site.url, 'page-still');
    if (compare !== null) {
        row('compared page, standing still', compare.url, 'page-still');
    }
    row('bare page, 10 ms timer', bare.url, 'timer');
    row('our page, turning', site.url, 'page-turning');
    if (compare !== null) {
        row('compared page, turning', compare.url, 'page-turning');
    }
    row('bare page, new image 100 times a second', bare.url, 'present');
    row('hidden tab: our page, turning', site.url, 'page-turning', true);
    row('hidden tab: bare page, 10 ms timer', bare.url, 'timer', true);
    try {
        for (let round = 0; round < o.rounds; ++round) {
            for (const r of rows.filter((each) => !each.hidden)) {
                r.runs.push(await visibleCase(o, r.base, r.what));
            }
        }
        await withXvfb(async (display) => {
            for (const r of rows.filter((each) => each.hidden)) {
                r.runs.push(await hiddenCase(o, r.base, r.what, display));
            }
        });
    } finally {
        await site.close();
        await compare?.close();
        await bare.close();
        rmSync(bareFolder, {recursive: true, force: true});
    }
    printTable(o, rows);
}

await main();
