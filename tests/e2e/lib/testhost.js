// Starts vantro-testhost on a private copy of the sample content and talks to it over its
// standard input and output: one command per line, answered by one "ok"/"error" line, with
// event lines ("activity", "sent", "user-added", "user-removed") printed as they happen.

import { spawn } from 'node:child_process';
import { cp, mkdtemp, rm } from 'node:fs/promises';
import { existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const repoRoot = path.resolve(here, '..', '..', '..');
export const contentDir = path.join(repoRoot, 'content');

export function hostBinary() {
  return path.resolve(process.env.VANTRO_TESTHOST || path.join(repoRoot, 'build', 'vantro-testhost'));
}

const userLine = /^\d+\.\d+\.\d+\.\d+\t/;

export class TestHost {
  #proc;
  #lines = [];
  #waiters = [];
  #stderr = '';
  #exit = null;
  #exited;
  #queue = Promise.resolve();
  port = 0;
  root = '';

  // Copies content/ into a fresh folder and starts the host on it with a free port.
  static async start({ refresh = 1, delay = 1, startTimeoutMs = 10000, args = [] } = {}) {
    const binary = hostBinary();
    if (!existsSync(binary)) throw new Error(`test host not found: ${binary}`);
    const root = await mkdtemp(path.join(tmpdir(), 'vantro-e2e-'));
    await cp(contentDir, root, { recursive: true });
    const host = new TestHost();
    host.root = root;
    host.#spawn(binary, ['--root', root, '--port', '0', '--refresh', String(refresh), '--delay', String(delay), ...args]);
    try {
      const { match } = await host.waitForLine(/^listening (\d+)$/, { timeoutMs: startTimeoutMs, what: 'the host to listen' });
      host.port = Number(match[1]);
    } catch (err) {
      await host.stop();
      throw err;
    }
    return host;
  }

  #spawn(binary, args) {
    this.#proc = spawn(binary, args, { stdio: ['pipe', 'pipe', 'pipe'] });
    this.#exited = new Promise((resolve) => {
      this.#proc.on('exit', (code, signal) => {
        this.#exit = { code, signal };
        resolve(this.#exit);
        this.#wake();
      });
      this.#proc.on('error', (err) => {
        this.#stderr += `spawn failed: ${err.message}\n`;
        this.#exit = { code: null, signal: null, error: err };
        resolve(this.#exit);
        this.#wake();
      });
    });
    this.#proc.stdin.on('error', () => {}); // a host that died is reported by the waiters
    this.#proc.stderr.on('data', (chunk) => {
      this.#stderr = (this.#stderr + chunk.toString()).slice(-4000);
    });
    readline.createInterface({ input: this.#proc.stdout }).on('line', (line) => {
      if (process.env.VANTRO_E2E_VERBOSE) console.error(`  host> ${line}`);
      this.#lines.push(line);
      this.#wake();
    });
  }

  get url() {
    return `http://127.0.0.1:${this.port}`;
  }

  // Every line the host printed so far.
  get lines() {
    return this.#lines.slice();
  }

  // Index of the next line to come; pass it as "since" to look only at later lines.
  mark() {
    return this.#lines.length;
  }

  #wake() {
    const waiters = this.#waiters;
    this.#waiters = [];
    for (const w of waiters) w();
  }

  #describe() {
    const tail = this.#lines.slice(-15).map((l) => `    ${l}`).join('\n');
    const err = this.#stderr.trim() ? `\n  host stderr (tail):\n${this.#stderr.trim().split('\n').slice(-10).map((l) => `    ${l}`).join('\n')}` : '';
    const exit = this.#exit ? `\n  host exited: ${JSON.stringify(this.#exit)}` : '';
    return `\n  last host lines:\n${tail || '    (none)'}${err}${exit}`;
  }

  // Waits for a line at index >= since that matches pattern (a RegExp or a predicate).
  // Resolves to { line, index, match }; rejects with the host's recent output on time-out.
  async waitForLine(pattern, { since = 0, timeoutMs = 5000, what } = {}) {
    const test = typeof pattern === 'function' ? (l) => (pattern(l) ? [l] : null) : (l) => l.match(pattern);
    const deadline = Date.now() + timeoutMs;
    let from = since;
    for (;;) {
      for (; from < this.#lines.length; from++) {
        const match = test(this.#lines[from]);
        if (match) return { line: this.#lines[from], index: from, match };
      }
      if (this.#exit) throw new Error(`host exited while waiting for ${what || pattern}${this.#describe()}`);
      const left = deadline - Date.now();
      if (left <= 0) throw new Error(`no host line ${what ? `for ${what} ` : ''}matching ${pattern} within ${timeoutMs} ms${this.#describe()}`);
      await new Promise((resolve) => {
        const timer = setTimeout(resolve, left);
        this.#waiters.push(() => {
          clearTimeout(timer);
          resolve();
        });
      });
    }
  }

  // True when no line at index >= since matches.
  noLine(pattern, since = 0) {
    return !this.#lines.slice(since).some((l) => (typeof pattern === 'function' ? pattern(l) : pattern.test(l)));
  }

  // Sends one command and returns its answer line; commands are sent one at a time.
  command(cmd, { timeoutMs = 5000 } = {}) {
    const run = async () => {
      const since = this.mark();
      this.#proc.stdin.write(`${cmd}\n`);
      const { line, index } = await this.waitForLine(/^(ok|error)\b/, { since, timeoutMs, what: `the answer to "${cmd}"` });
      return { line, index };
    };
    const result = this.#queue.then(run, run);
    this.#queue = result.catch(() => {});
    return result;
  }

  // Sends a command that must succeed.
  async ok(cmd, opts) {
    const { line } = await this.command(cmd, opts);
    if (!/^ok\b/.test(line)) throw new Error(`"${cmd}" was answered "${line}"${this.#describe()}`);
    return line;
  }

  // The user table as [{ key, name }].
  async users() {
    const { line, index } = await this.command('users');
    const m = line.match(/^ok (\d+)$/);
    if (!m) throw new Error(`"users" was answered "${line}"${this.#describe()}`);
    const count = Number(m[1]);
    const users = [];
    let from = index + 1;
    while (users.length < count) {
      const { line: u, index: i } = await this.waitForLine(userLine, { since: from, timeoutMs: 2000, what: 'a user line' });
      const tab = u.indexOf('\t');
      users.push({ key: u.slice(0, tab), name: u.slice(tab + 1) });
      from = i + 1;
    }
    return users;
  }

  // Closes the host's input (which ends it), kills it if it lingers, removes the root folder.
  // Returns the exit status.
  async stop({ timeoutMs = 5000, keepRoot = false } = {}) {
    let status = this.#exit;
    if (this.#proc && !status) {
      this.#proc.stdin.end();
      const timer = new Promise((resolve) => setTimeout(resolve, timeoutMs));
      status = await Promise.race([this.#exited, timer]);
      if (!status) {
        this.#proc.kill('SIGKILL');
        await this.#exited;
        status = { ...this.#exit, killed: true };
      }
    }
    if (this.root && !keepRoot) await rm(this.root, { recursive: true, force: true });
    return status;
  }
}
