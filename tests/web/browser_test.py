#!/usr/bin/python3
"""The web page in a real browser, driven as a person would.

    browser_test.py SITE REFERENCE WORKDIR

SITE is the built page's folder, REFERENCE the Linux build's view_frames
program (its frames and messages), WORKDIR a folder for the served copy, the
browser's profile and screenshots. Headless Chromium is driven through the
DevTools protocol; the page is served from 127.0.0.1 by a server of our own.
Each case loads the page afresh, accepts the start-up alert and checks what
the canvas shows against the Linux build, pixel for pixel.
"""
import functools
import hashlib
import http.server
import json
import os
import random
import re
import shutil
import subprocess
import sys
import threading
import time
import urllib.request

import websocket

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'support'))
import level  # noqa: E402  (the tests' level writer, beside them)

# The view's size, and where it sits on the canvas (render/Platform.h and
# shell/Form1.h).
# facts:begin geometry_py
VIEW = 400
VIEW_LEFT = 26
VIEW_TOP = 26
# facts:end
CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                  '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync', '--window-size=800,700',
                  '--remote-debugging-port=0']

# Keys as the browser reports them: (key, code, location, Windows key code).
NUMPAD8 = ('8', 'Numpad8', 3, 104)
NUMPAD5 = ('5', 'Numpad5', 3, 101)
NUMPAD8_LOCK_OFF = ('ArrowUp', 'Numpad8', 3, 38)
ARROW_UP = ('ArrowUp', 'ArrowUp', 0, 38)
PAGE_DOWN = ('PageDown', 'PageDown', 0, 34)
ESCAPE = ('Escape', 'Escape', 0, 27)


class Failure(Exception):
    pass


def note(text):
    print('web: ' + text, flush=True)


class Browser:
    """One headless Chromium and its one page, over the DevTools protocol."""

    def __init__(self, workdir):
        profile = os.path.join(workdir, 'profile')
        shutil.rmtree(profile, ignore_errors=True)  # a fresh profile every run
        self.process = subprocess.Popen(
            ['/usr/bin/chromium', *CHROMIUM_FLAGS, '--user-data-dir=' + profile, 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=open(os.path.join(workdir, 'chromium.log'), 'w'))
        port_file = os.path.join(profile, 'DevToolsActivePort')
        port = wait_for(30, 'Chromium to listen', lambda: read_first_line(port_file))
        pages = json.load(urllib.request.urlopen('http://127.0.0.1:%s/json/list' % port))
        page = next(p for p in pages if p['type'] == 'page')
        self.socket = websocket.create_connection(page['webSocketDebuggerUrl'],
                                                  suppress_origin=True, timeout=60)
        self.next_id = 0
        self.events = []
        self.call('Page.enable')
        self.call('Runtime.enable')
        # A headless page has no window focus of its own; keys need one.
        self.call('Emulation.setFocusEmulationEnabled', enabled=True)

    def close(self):
        self.socket.close()
        self.process.terminate()
        self.process.wait(10)

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('id') == self.next_id:
                if 'error' in message:
                    raise Failure('%s: %s' % (method, message['error']))
                return message['result']
            if message.get('method') == 'Page.javascriptDialogOpening':
                # The page stops until the alert is answered, this call too.
                self.socket.send(json.dumps({'id': 0, 'method': 'Page.handleJavaScriptDialog',
                                             'params': {'accept': True}}))
                raise Failure('%s: an alert came: %r' % (method, message['params']['message']))
            if 'method' in message:
                self.events.append(message)

    def event(self, method, seconds):
        """Waits for the next event of this kind; returns its parameters."""
        deadline = time.monotonic() + seconds
        while True:
            for k, message in enumerate(self.events):
                if message['method'] == method:
                    del self.events[k]
                    return message['params']
            if time.monotonic() > deadline:
                raise Failure('waited %ds for %s' % (seconds, method))
            self.socket.settimeout(max(0.05, deadline - time.monotonic()))
            try:
                self.events.append(json.loads(self.socket.recv()))
            except websocket.WebSocketTimeoutException:
                pass
            finally:
                self.socket.settimeout(60)

    def evaluate(self, expression):
        result = self.call('Runtime.evaluate', expression=expression, awaitPromise=True,
                           returnByValue=True)
        if 'exceptionDetails' in result:
            raise Failure('%s: %s' % (expression, result['exceptionDetails']))
        return result['result'].get('value')

    def open(self, url):
        self.events.clear()
        self.call('Page.navigate', url=url)

    def alert(self, seconds=20):
        """Waits for an alert, accepts it and returns its text."""
        text = self.event('Page.javascriptDialogOpening', seconds)['message']
        self.call('Page.handleJavaScriptDialog', accept=True)
        return text

    def press(self, key):
        name, code, location, windows_code = key
        # The protocol's own location is left or right only; the keypad's is
        # a flag of its own.
        down = {'key': name, 'code': code, 'isKeypad': location == 3,
                'windowsVirtualKeyCode': windows_code, 'nativeVirtualKeyCode': windows_code}
        if len(name) == 1:
            down['text'] = name
        self.call('Input.dispatchKeyEvent', type='keyDown', **down)
        self.call('Input.dispatchKeyEvent', type='keyUp', **down)

    def view_digest(self):
        """A digest of the view's pixels, RGB row by row, as the reference's."""
        return self.evaluate('''(async () => {
            const c = document.getElementById('canvas');
            const rgba = c.getContext('2d').getImageData(%d, %d, %d, %d).data;
            const rgb = new Uint8Array(rgba.length / 4 * 3);
            for (let i = 0, o = 0; i < rgba.length; i += 4) {
                rgb[o++] = rgba[i]; rgb[o++] = rgba[i + 1]; rgb[o++] = rgba[i + 2];
            }
            const d = await crypto.subtle.digest('SHA-256', rgb);
            return Array.from(new Uint8Array(d), (b) => b.toString(16).padStart(2, '0')).join('');
        })()''' % (VIEW_LEFT, VIEW_TOP, VIEW, VIEW))

    def screenshot(self, path):
        import base64
        data = self.call('Page.captureScreenshot', format='png')['data']
        with open(path, 'wb') as f:
            f.write(base64.b64decode(data))


def read_first_line(path):
    try:
        with open(path) as f:
            return f.readline().strip() or None
    except FileNotFoundError:
        return None


def wait_for(seconds, what, probe, interval=0.05):
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure('waited %ds for %s' % (seconds, what))
        time.sleep(interval)


class Reference:
    """The Linux build's frames of a level: step count of each frame digest."""

    def __init__(self, program, site, level, steps):
        out = subprocess.run([program, 'frames', level, str(steps)], cwd=site, check=True,
                             stdout=subprocess.PIPE).stdout
        size = VIEW * VIEW * 3
        self.steps = {}
        for k in range(len(out) // size):
            digest = hashlib.sha256(out[k * size:(k + 1) * size]).hexdigest()
            self.steps.setdefault(digest, k // 2)
        self.last = steps

    def step_of(self, digest):
        return self.steps.get(digest)


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.js': 'text/javascript'}

    def log_message(self, *args):
        pass


def cpu_seconds(root_pid):
    """CPU time of a process and all its descendants, from /proc."""
    tick = os.sysconf('SC_CLK_TCK')
    children = {}
    for entry in os.listdir('/proc'):
        if entry.isdigit():
            try:
                with open('/proc/%s/stat' % entry) as f:
                    fields = f.read().rsplit(')', 1)[1].split()
                children.setdefault(int(fields[1]), []).append((int(entry), fields))
            except (FileNotFoundError, ProcessLookupError, IndexError):
                pass
    total, todo = 0.0, [root_pid]
    while todo:
        for pid, fields in children.get(todo.pop(), []):
            total += (int(fields[11]) + int(fields[12])) / tick
            todo.append(pid)
    with open('/proc/%d/stat' % root_pid) as f:
        fields = f.read().rsplit(')', 1)[1].split()
    return total + (int(fields[11]) + int(fields[12])) / tick


class Session:
    def __init__(self, browser, base, reference, workdir):
        self.browser, self.base, self.reference, self.workdir = browser, base, reference, workdir

    def start(self, query=''):
        """Opens the page, checks and accepts the start-up alert."""
        self.browser.open(self.base + 'index.html' + query)
        text = self.browser.alert()
        expected = self.reference['message' + ('-arrows' if 'arrows=1' in query else '')]
        if text != expected:
            raise Failure('the start-up alert says %r, not %r' % (text, expected))

    def step(self, reference, seconds=10):
        """Waits until the view shows a frame of the reference; its step."""
        found = []

        def probe():
            found[:] = [reference.step_of(self.browser.view_digest())]
            return found[0] is not None
        wait_for(seconds, 'the view to show a frame the Linux build draws', probe)
        return found[0]

    def first_frame(self, reference):
        """Waits for the first frame: the Linux build's before any step."""
        wait_for(10, 'the start view the Linux build draws',
                 lambda: reference.step_of(self.browser.view_digest()) == 0)

    def settled(self, reference):
        """Waits until the walk has stopped; the step it stopped at."""
        last = self.step(reference)
        for _ in range(100):
            time.sleep(0.15)
            now = self.step(reference)
            if now == last:
                return now
            last = now
        raise Failure('the walk did not stop')

    def walk(self, reference, key, stop=NUMPAD5):
        """Presses key, follows the walk frame by frame, stops it with stop."""
        before = self.settled(reference)
        self.browser.press(key)
        seen = [before]
        for _ in range(6):
            time.sleep(0.03)
            seen.append(self.step(reference))
        self.browser.press(stop)
        seen.append(self.settled(reference))
        if seen != sorted(seen) or seen[-1] <= before:
            raise Failure('the walk went through steps %s, not forward' % seen)
        return seen


def case_start_and_walk(s):
    maze = s.reference['maze']
    s.start()
    s.first_frame(maze)
    s.browser.screenshot(os.path.join(s.workdir, 'start.png'))
    note('the alert showed the start-up text; the start view is the Linux build\'s')

    cpu_before, clock_before = cpu_seconds(s.browser.process.pid), time.monotonic()
    rates = []

    def rate():
        found = re.search(r'(\d+) fps', s.browser.evaluate('document.title'))
        if found:
            rates.append(int(found.group(1)))
        return rates and rates[-1] >= 90 and time.monotonic() - clock_before > 3
    wait_for(20, 'a rate of 90 fps or more in the title', rate, 0.25)
    share = (cpu_seconds(s.browser.process.pid) - cpu_before) / (time.monotonic() - clock_before)
    note('title rates %s fps; the browser used %.0f%% of one core' % (rates, 100 * share))

    if s.browser.evaluate('document.activeElement.id') != 'canvas':
        raise Failure('the canvas does not have the focus after start-up')
    steps = s.walk(maze, NUMPAD8)
    note('keypad 8 walked, keypad 5 stopped, step for step the Linux frames: %s' % steps)
    steps = s.walk(maze, NUMPAD8)
    stopped = steps[-1]
    s.browser.press(NUMPAD8_LOCK_OFF)
    time.sleep(0.4)
    if s.settled(maze) != stopped:
        raise Failure('keypad 8 with Num Lock off walked')
    note('keypad 8 with Num Lock off did not walk')

    s.browser.evaluate('''document.addEventListener('keydown',
        (e) => { window.scrolled = !e.defaultPrevented; })''')
    for key in (ARROW_UP, PAGE_DOWN):
        s.browser.press(key)
        if s.browser.evaluate('window.scrolled') is not False:
            raise Failure('%s would scroll the page' % key[0])
    s.browser.press(ESCAPE)
    wait_for(5, 'the page to say the walk has ended', lambda: s.browser.evaluate(
        "document.getElementById('status').textContent === 'The walk has ended.'"
        " && !document.getElementById('again').hidden"))
    s.browser.screenshot(os.path.join(s.workdir, 'ended.png'))
    note('Esc ended the walk and the page offers to start again')


def case_arrows(s):
    maze = s.reference['maze']
    s.start('?arrows=1')
    if s.browser.evaluate("document.getElementById('arrows').checked") is not True:
        raise Failure('the --arrows check box is not ticked')
    s.first_frame(maze)
    steps = s.walk(maze, ARROW_UP)
    note('with the check box ticked ArrowUp walked: %s' % steps)


def case_unseen_level(s):
    level = s.reference['unseen']
    s.start('?level=shared/unseen.dat')
    s.first_frame(level)
    s.walk(level, NUMPAD8)
    note('?level=shared/unseen.dat loaded a new level, drawn as the Linux build draws it')


def case_bad_levels(s):
    for query, expected in s.reference['bad']:
        s.start(query)
        text = s.browser.alert()
        if text != expected:
            raise Failure('%s: the alert says %r, not %r' % (query, text, expected))
        wait_for(5, 'the page to say the program has ended', lambda: s.browser.evaluate(
            "document.getElementById('status').textContent === 'The program has ended.'"))
        note('%s: %s' % (query, text.split('\n')[-1]))


def write_unseen_level(path, seed):
    """A random maze of our own, never drawn before: walls ahead of the eye."""
    rng = random.Random(seed)
    flags = [(i, j, f) for i in range(21) for j in range(12, 21) for f in 'AB'
             if rng.random() < 0.12]
    with open(path, 'w') as f:
        f.write(level.level_text(20, flags))


def main():
    site, program, workdir = (os.path.abspath(a) for a in sys.argv[1:4])
    served = os.path.join(workdir, 'site')
    shutil.rmtree(served, ignore_errors=True)
    shutil.copytree(site, served)
    os.makedirs(os.path.join(served, 'shared'))
    write_unseen_level(os.path.join(served, 'shared', 'unseen.dat'), time.time_ns())
    with open(os.path.join(served, 'shared', 'malformed.dat'), 'w') as f:
        f.write('2\n0,0\n1,x\n')

    def loader_message(level):
        result = subprocess.run([program, 'load', level], cwd=served, stdout=subprocess.PIPE,
                                text=True)
        return 'mazewalk\n\n' + result.stdout
    refusal = 'mazewalk\n\n%s: a level path may not leave the page\'s folder with ".."'
    reference = {
        'message': subprocess.run([program, 'message'], check=True, stdout=subprocess.PIPE,
                                  text=True).stdout,
        'message-arrows': subprocess.run([program, 'message', '--arrows'], check=True,
                                         stdout=subprocess.PIPE, text=True).stdout,
        'maze': Reference(program, served, 'torv-2.dat', 200),
        'unseen': Reference(program, served, 'shared/unseen.dat', 200),
        'bad': [('?level=shared/malformed.dat', loader_message('shared/malformed.dat')),
                ('?level=shared/missing.dat', loader_message('shared/missing.dat')),
                ('?level=-missing.dat', loader_message('-missing.dat'))],
    }
    refused = [('?level=../index.html', refusal % '../index.html'),
               ('?level=/index.html', None), ('?level=https://127.0.0.1/x.dat', None)]

    server = serve(served)
    browser = Browser(workdir)
    session = Session(browser, 'http://127.0.0.1:%d/' % server.server_address[1], reference,
                      workdir)
    failed = []
    try:
        for case in (case_start_and_walk, case_arrows, case_unseen_level, case_bad_levels,
                     lambda s: case_refusals(s, refused)):
            try:
                case(s=session)
            except Failure as failure:
                failed.append(str(failure))
                print('FAIL: %s' % failure, file=sys.stderr)
                browser.screenshot(os.path.join(workdir, 'failure-%d.png' % len(failed)))
    finally:
        browser.close()
        server.shutdown()
    return 1 if failed else 0


def case_refusals(s, refused):
    for query, expected in refused:
        s.browser.open(s.base + 'index.html' + query)
        text = s.browser.alert()
        if (expected is not None and text != expected) or 'mazewalk\n\n' not in text:
            raise Failure('%s: the alert says %r' % (query, text))
        note('%s refused: %s' % (query, text.split('\n')[-1]))


if __name__ == '__main__':
    sys.exit(main())
