// What the page's browser tests and its benchmark share: Debian's Chromium
// driven by Playwright, a static server for the built page, the CPU time of
// a process tree, and waiting for a condition.
//
// Installed by scripts/deps.sh (mazewalk_browser_driver), pinned by this
// folder's package-lock.json.
import {readFileSync, readdirSync, rmSync, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {extname, join, normalize, sep} from 'node:path';
import {chromium} from 'playwright-core';

export const ChromiumPath = '/usr/bin/chromium';

const ChromiumArgs = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Headless Chromium; a fresh profile each launch, so no service worker or
// cache survives from one run into the next.
export async function launchChromium(extraArgs = []) {
    return chromium.launch({executablePath: ChromiumPath, headless: true,
        args: [...ChromiumArgs, ...extraArgs]});
}

// Headless Chromium as one context with a profile of its own, made afresh in
// folder: what only a profile that is not incognito may do (installing a
// page as an app) can be asked of it.
export async function launchChromiumProfile(folder, contextOptions = {}) {
    rmSync(folder, {recursive: true, force: true});
    return chromium.launchPersistentContext(folder, {executablePath: ChromiumPath,
        headless: true, args: ChromiumArgs, ...contextOptions});
}

const Types = {
    '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript',
    '.css': 'text/css', '.wasm': 'application/wasm', '.png': 'image/png',
    '.svg': 'image/svg+xml', '.json': 'application/json',
    '.webmanifest': 'application/manifest+json', '.txt': 'text/plain',
};

// Serves folder on 127.0.0.1 at a free port (127.0.0.1 counts as a secure
// origin, so service workers run). Only files under folder are answered.
export async function serveFolder(folder) {
    const root = normalize(folder + sep);
    const server = createServer((request, response) => {
        const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
        const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
        let body = null;
        if (file.startsWith(root)) {
            try {
                if (statSync(file).isFile()) {
                    body = readFileSync(file);
                }
            } catch {
                body = null;
            }
        }
        if (body === null) {
            response.writeHead(404, {'Content-Type': 'text/plain'});
            response.end('not found');
            return;
        }
        response.writeHead(200, {'Content-Type': Types[extname(file)] || 'application/octet-stream',
            'Cache-Control': 'no-cache'});
        response.end(body);
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((resolve) => {
            server.closeAllConnections();
            server.close(resolve);
        }),
    };
}

// The browser Playwright started for this process: the child process that
// runs Chromium (Playwright keeps its process to itself).
export function chromiumPid() {
    for (const entry of readdirSync('/proc')) {
        try {
            const stat = readFileSync(`/proc/${entry}/stat`, 'utf8');
            const parent = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
            if (parent === process.pid && /chromium/.test(readFileSync(`/proc/${entry}/cmdline`))) {
                return Number(entry);
            }
        } catch {
            // Not a process, or one that ended while we read.
        }
    }
    throw new Failure('no Chromium started by this process');
}

// CPU seconds (user and system) of a process and all its descendants.
export function cpuSeconds(rootPid) {
    const tick = 100;  // USER_HZ, the unit of /proc/PID/stat on Linux
    const children = new Map();
    const own = new Map();
    for (const entry of readdirSync('/proc')) {
        if (!/^\d+$/.test(entry)) {
            continue;
        }
        try {
            const stat = readFileSync(`/proc/${entry}/stat`, 'utf8');
            const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
            const parent = Number(fields[1]);
            own.set(Number(entry), (Number(fields[11]) + Number(fields[12])) / tick);
            if (!children.has(parent)) {
                children.set(parent, []);
            }
            children.get(parent).push(Number(entry));
        } catch {
            // The process ended while we read.
        }
    }
    let total = 0;
    const todo = [rootPid];
    while (todo.length > 0) {
        const pid = todo.pop();
        total += own.get(pid) || 0;
        todo.push(...(children.get(pid) || []));
    }
    return total;
}

export class Failure extends Error {}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until probe() gives a true value, and returns it.
export async function waitFor(seconds, what, probe, intervalMs = 50) {
    const deadline = Date.now() + seconds * 1000;
    for (;;) {
        const value = await probe();
        if (value) {
            return value;
        }
        if (Date.now() > deadline) {
            throw new Failure(`waited ${seconds} s for ${what}`);
        }
        await sleep(intervalMs);
    }
}
