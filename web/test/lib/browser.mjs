// Starts the system Chromium headless and keeps every console error, page error and failed
// request of every page it opens, so one test can assert that the whole run had none.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const CHROMIUM = process.env.QM_CHROMIUM || '/usr/bin/chromium';

// Without the networking flags Chromium keeps reaching out and this machine refuses it
// noisily. WebGL comes from SwiftShader through ANGLE; naming it keeps the context from
// depending on Chromium's automatic software fallback, which it is phasing out.
export const CHROMIUM_FLAGS = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
];

export class Session {
  constructor(browser, userDataDir) {
    this.browser = browser;
    this.userDataDir = userDataDir;
    this.problems = [];  // every console error, page error and failed request, in order
  }

  static async start() {
    const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmoor-chromium-'));
    const browser = await puppeteer.launch({
      executablePath: CHROMIUM,
      headless: true,
      args: [...CHROMIUM_FLAGS, `--user-data-dir=${userDataDir}`],
      defaultViewport: {width: 1280, height: 960},
    });
    return new Session(browser, userDataDir);
  }

  async newPage(label) {
    const page = await this.browser.newPage();
    const where = () => `${label} (${page.url()})`;
    page.on('console', (message) => {
      if (message.type() === 'error') this.problems.push(`console error in ${where()}: ${message.text()}`);
    });
    page.on('pageerror', (error) => this.problems.push(`page error in ${where()}: ${error.message}`));
    page.on('requestfailed', (request) =>
      this.problems.push(`request failed in ${where()}: ${request.url()} ${request.failure()?.errorText}`));
    page.on('response', (response) => {
      if (response.status() >= 400) this.problems.push(`HTTP ${response.status()} in ${where()}: ${response.url()}`);
    });
    return page;
  }

  async close() {
    await this.browser.close();
    fs.rmSync(this.userDataDir, {recursive: true, force: true});
  }
}

// Loads the page (at #name when given) and waits until the runtime is up and the scene open.
export async function openPage(page, baseUrl, name, timeout = 60000) {
  await page.goto(name ? `${baseUrl}#${name}` : baseUrl, {waitUntil: 'load', timeout});
  // A boolean: waitForFunction awaits a promise and would wait for a truthy result of ready.
  await page.waitForFunction(() => Boolean(window.quillmoor && window.quillmoor.ready), {timeout});
  // Returns true rather than what ready resolves to, which need not be serialisable.
  await page.evaluate(async () => { await window.quillmoor.ready; return true; });
}
