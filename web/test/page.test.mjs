// Browser tests of the web page: the wasm build must load cleanly, step exactly as the
// desktop build does (given the same libm), draw what the desktop draws, and answer the
// editor, the mouse and the address. scripts/test-web.sh serves the page and writes the
// desktop references; to run by hand set QM_URL (the served page) and QM_REF_DIR (the
// references). Where a state or picture differs, the page's own is left in QM_REF_DIR/page/.
import {after, before, describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {Session, openPage} from './lib/browser.mjs';
import {canvasPixels, pixel, probe, readPng} from './lib/image.mjs';
import {compareStates, describeDifference, objectNamed} from './lib/state.mjs';
import {DARK, PICTURES} from './probes.mjs';

const ROOT = process.env.QM_ROOT || path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const BASE_URL = process.env.QM_URL;
const REF_DIR = process.env.QM_REF_DIR;
if (!BASE_URL || !REF_DIR) {
  throw new Error('QM_URL and QM_REF_DIR are not set: run scripts/test-web.sh, which serves the page and writes the desktop references');
}
const SUMMARY = process.env.QM_SUMMARY;  // the runner prints this file at the end

const SCENES = [
  {name: 'demo', dir: 'demo'},
  ...fs.readdirSync(path.join(ROOT, 'examples')).sort()
    .filter((name) => fs.existsSync(path.join(ROOT, 'examples', name, 'scene.txt')))
    .map((name) => ({name, dir: `examples/${name}`})),
];
const sceneText = (scene) => fs.readFileSync(path.join(ROOT, scene.dir, 'scene.txt'), 'utf8');
const reference = (file) => fs.readFileSync(path.join(REF_DIR, file), 'utf8');
const BUFFER = {width: 1024, height: 768};

function report(line) {
  console.log(line);
  if (SUMMARY) fs.appendFileSync(SUMMARY, `${line}\n`);
}

// Everything a test asks of the runtime goes through one synchronous evaluate, so the
// page's timer cannot tick between the calls.
function call(page, steps, arg) {
  return page.evaluate(`(() => {
    const M = window.quillmoor.module;
    const qm = {
      open: (folder) => M.ccall('qm_open', 'number', ['string'], [folder]),
      reload: () => M.ccall('qm_reload', null, [], []),
      check: (folder) => M.ccall('qm_check', 'string', ['string'], [folder]),
      running: (on) => M.ccall('qm_set_running', null, ['number'], [on]),
      advance: (n) => M.ccall('qm_advance', null, ['number'], [n]),
      state: () => M.ccall('qm_state', 'string', [], []),
      ticks: () => M.ccall('qm_ticks', 'number', [], []),
      key: (code) => M.ccall('qm_key', null, ['number'], [code]),
      workbench: (on) => M.ccall('qm_set_workbench', null, ['number'], [on]),
      mouse: (kind, button, x, y) => M.ccall('qm_mouse', null, ['number', 'number', 'number', 'number'], [kind, button, x, y]),
    };
    return (${steps})(qm, ${JSON.stringify(arg)});
  })()`);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

let session;

// A fresh page opened at #name (the default scene when null) for `steps`, closed whatever
// they do.
async function onPage(label, name, steps) {
  const page = await session.newPage(label);
  try {
    await openPage(page, BASE_URL, name);
    return await steps(page);
  } finally {
    await page.close();
  }
}

describe('quillmoor web page', {timeout: 15 * 60 * 1000}, () => {
  before(async () => { session = await Session.start(); });
  after(async () => { await session?.close(); });

  test('loads: runtime ready, the controls there, a 1024x768 WebGL canvas that keeps its buffer', async () => {
    await onPage('load', null, async (page) => {
      const seen = await page.evaluate(() => {
        const canvas = document.getElementById('canvas');
        const gl = canvas && (canvas.getContext('webgl') || canvas.getContext('webgl2'));
        return {
          missing: ['editor', 'findings', 'scenes', 'workbench', 'reload', 'download', 'canvas']
            .filter((id) => !document.getElementById(id)),
          width: canvas?.width, height: canvas?.height,
          gl: !!gl,
          preserve: gl ? gl.getContextAttributes().preserveDrawingBuffer : null,
          open: typeof window.quillmoor.open, module: typeof window.quillmoor.module?.ccall,
        };
      });
      assert.deepEqual(seen.missing, [], 'elements missing');
      assert.deepEqual([seen.width, seen.height], [BUFFER.width, BUFFER.height], 'drawing buffer size');
      assert.ok(seen.gl, 'the canvas has a WebGL context');
      assert.equal(seen.preserve, true, 'preserveDrawingBuffer');
      assert.equal(seen.open, 'function');
      assert.equal(seen.module, 'function', 'quillmoor.module.ccall');
    });
  });

  describe('physics is the desktop\'s (with the page\'s libm), bit for bit, after 60 and 600 ticks', () => {
    for (const scene of SCENES) {
      test(scene.name, async () => {
        await onPage(`physics ${scene.name}`, scene.name, async (page) => {
          const run = await call(page, (qm, name) => {
            qm.running(0);
            const opened = qm.open(`/edit/${name}`);
            const start = qm.ticks();
            qm.advance(60);
            const at60 = qm.state();
            qm.advance(540);
            return {opened, start, at60, at600: qm.state(), ticks: qm.ticks()};
          }, scene.name);
          assert.equal(run.opened, 1, `qm_open of /edit/${scene.name}`);
          assert.equal(run.start, 0, 'ticks after opening');
          assert.equal(run.ticks, 600, 'ticks after advancing 600');
          // Asserted against the desktop computing with the page's libm; the plain desktop's
          // distance is reported (see scripts/test-web.sh).
          const runs = {60: run.at60, 600: run.at600};
          const distance = (dir) => [60, 600].map((ticks) => {
            const want = reference(`${dir}${scene.name}-${ticks}.json`);
            return runs[ticks] === want ? {ticks, same: true}
              : {ticks, same: false, text: describeDifference(compareStates(want, runs[ticks]))};
          });
          const words = (d) => d.every((r) => r.same) ? 'identical after 60 and 600 ticks'
            : d.map((r) => `after ${r.ticks} ticks ${r.same ? 'identical' : r.text}`).join('; ');
          const musl = distance('');
          const glibc = distance('glibc/');
          report(`physics ${scene.name}: against the desktop with musl's libm ${words(musl)}; ` +
            `against the plain desktop ${words(glibc)}`);
          if (!musl.every((r) => r.same)) {
            fs.mkdirSync(path.join(REF_DIR, 'page'), {recursive: true});
            for (const ticks of [60, 600]) fs.writeFileSync(path.join(REF_DIR, 'page', `${scene.name}-${ticks}.json`), runs[ticks]);
          }
          for (const r of musl) assert.ok(r.same, `${scene.name} after ${r.ticks} ticks differs from the desktop: ${r.text}`);
        });
      });
    }
  });

  describe('the canvas shows what the desktop snapshot shows', () => {
    for (const picture of PICTURES) {
      const name = `${picture.scene}-${picture.ticks}${picture.debug ? '-debug' : ''}`;
      test(`${picture.scene} after ${picture.ticks} ticks${picture.debug ? ', debug view' : ''}`, async () => {
        const desktop = readPng(path.join(REF_DIR, `${name}.png`));
        await onPage(`picture ${picture.scene}`, picture.scene, async (page) => {
          const opened = await call(page, (qm, [name, ticks, debug]) => {
            qm.running(0);
            const result = qm.open(`/edit/${name}`);
            if (debug) qm.workbench(1), qm.key('d'.charCodeAt(0));  // as the desktop's --debug
            qm.advance(ticks);
            return result;
          }, [picture.scene, picture.ticks, Boolean(picture.debug)]);
          assert.equal(opened, 1, `qm_open of /edit/${picture.scene}`);
          const shown = await canvasPixels(page);
          assert.deepEqual([shown.width, shown.height], [BUFFER.width, BUFFER.height]);
          const failures = [];
          const worst = {};  // the largest difference seen, by tolerance, for the report
          const note = (key, diff) => { worst[key] = Math.max(worst[key] ?? 0, diff); };
          for (const p of picture.probes) {
            const alpha = shown.data[(p.y * shown.width + p.x) * 4 + 3];
            if (alpha !== 255) failures.push(`${p.what} (${p.x},${p.y}): canvas alpha ${alpha}, so the page shows through`);
            if (p.dark) {
              const got = pixel(shown, p.x, p.y);
              note(`background (at most ${DARK})`, Math.max(...got));
              if (Math.max(...got) > DARK) failures.push(`${p.what} (${p.x},${p.y}): ${got} is not dark`);
              continue;
            }
            const onFeature = pixel(desktop, p.x, p.y).every((v, c) => Math.abs(v - p.desktop[c]) <= p.tol);
            assert.ok(onFeature, `probe '${p.what}' no longer lies on its feature in the desktop picture ` +
              `(${pixel(desktop, p.x, p.y)}): choose it again`);
            const r = probe(desktop, shown, p);
            note(`tolerance ${p.tol}${p.radius ? ` within ${p.radius} px` : ''}`, r.diff);
            if (r.diff > p.tol) {
              failures.push(`${p.what} (${p.x},${p.y}): desktop ${r.want}, page ${r.got} at ${r.at}, ` +
                `off by ${r.diff} > ${p.tol}`);
            }
          }
          report(`picture ${name}: largest difference per channel ` +
            Object.entries(worst).map(([key, diff]) => `${diff} for probes of ${key}`).join(', '));
          if (failures.length) {
            const file = path.join(REF_DIR, 'page', `${name}.png`);
            fs.mkdirSync(path.dirname(file), {recursive: true});
            await page.screenshot({path: path.join(REF_DIR, 'page', `${name}-screen.png`)});
            const url = await page.evaluate(() => document.getElementById('canvas').toDataURL('image/png'));
            fs.writeFileSync(file, Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
          }
          assert.deepEqual(failures, [], 'probes that differ');
        });
      });
    }
  });

  test('a misspelt keyword typed into the editor is listed in the findings at its line', async () => {
    await onPage('editor', 'demo', async (page) => {
      const text = await page.$eval('#editor', (e) => e.value);
      const lines = text.split('\n');
      const index = lines.findIndex((l) => l.startsWith('obj_mass '));
      assert.ok(index >= 0, 'the demo has an obj_mass line');
      const line = index + 1;
      const atLine = () => page.$$eval(`#findings > [data-line="${line}"]`,
        (items) => items.map((i) => ({file: i.dataset.file, text: i.textContent})));
      assert.deepEqual(await atLine(), [], `a finding at line ${line} before the edit`);

      // Put the caret after "obj_mass" and delete its last letter, as a person would.
      const caret = lines.slice(0, index).join('\n').length + (index > 0 ? 1 : 0) + 'obj_mass'.length;
      await page.focus('#editor');
      await page.$eval('#editor', (e, at) => e.setSelectionRange(at, at), caret);
      const typed = Date.now();
      await page.keyboard.press('Backspace');
      await page.waitForFunction((l) => document.querySelector(`#findings > [data-line="${l}"]`),
        {timeout: 1000}, line).catch(() => {});
      const waited = Date.now() - typed;
      const found = await atLine();
      assert.equal((await page.$eval('#editor', (e) => e.value)).split('\n')[index], lines[index].replace('obj_mass', 'obj_mas'));
      assert.ok(found.length > 0, `no finding with data-line="${line}" within a second; findings: ` +
        JSON.stringify(await page.$$eval('#findings > *', (items) => items.map((i) => [i.dataset.file, i.dataset.line, i.textContent]))));
      assert.ok(found.some((f) => f.text.includes('obj_mas') && path.basename(f.file || '') === 'scene.txt'),
        `the finding at line ${line} names neither obj_mas nor scene.txt: ${JSON.stringify(found)}`);
      report(`editor: the misspelt keyword at line ${line} was listed ${waited} ms after the key press`);

      // The findings come from the same checker as the desktop's: qm_check on the page's
      // copy must print what quillmoor-check prints for the same text.
      const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'quillmoor-check-'));
      try {
        fs.cpSync(path.join(ROOT, 'demo'), copy, {recursive: true});
        fs.writeFileSync(path.join(copy, 'scene.txt'), await page.$eval('#editor', (e) => e.value));
        let desktop;
        try {
          desktop = execFileSync(path.join(ROOT, 'build', 'quillmoor-check'), ['-C', copy], {encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore']});
        } catch (error) {
          desktop = error.stdout;  // exit status 1: there are warnings
        }
        const web = await call(page, (qm) => qm.check('/edit/demo'));
        assert.equal(web, desktop, 'qm_check of the edited demo against desktop quillmoor-check');
      } finally {
        fs.rmSync(copy, {recursive: true, force: true});
      }
    });
  });

  test('a mouse stroke across a resting crate pushes it; without the stroke it stays', async () => {
    await onPage('mouse', 'demo', async (page) => {
      // The crate rests on the ground from tick 0 on; the stroke runs along its middle,
      // from background left of it to background right of it (buffer pixels).
      const crate = 'crate_left_low';
      const stroke = {y: 685, from: 70, to: 200};
      const settle = 120;
      const afterTicks = 30;

      const box = await page.$eval('#canvas', (c) => {
        const r = c.getBoundingClientRect();
        const s = getComputedStyle(c);
        const px = (v) => parseFloat(v) || 0;
        return {
          left: r.left + px(s.borderLeftWidth) + px(s.paddingLeft),
          top: r.top + px(s.borderTopWidth) + px(s.paddingTop),
          width: r.width - px(s.borderLeftWidth) - px(s.borderRightWidth) - px(s.paddingLeft) - px(s.paddingRight),
          height: r.height - px(s.borderTopWidth) - px(s.borderBottomWidth) - px(s.paddingTop) - px(s.paddingBottom),
          viewport: [innerWidth, innerHeight],
        };
      });
      const client = (x, y) => [box.left + x * box.width / BUFFER.width, box.top + y * box.height / BUFFER.height];
      const [endX, endY] = client(stroke.to, stroke.y);
      assert.ok(endX < box.viewport[0] && endY < box.viewport[1], `the stroke leaves the viewport: ${JSON.stringify(box)}`);

      const runOnce = async (withStroke) => {
        const start = await call(page, (qm, ticks) => {
          qm.running(0);
          if (qm.open('/edit/demo') !== 1) return null;
          qm.advance(ticks);
          return qm.state();
        }, settle);
        assert.ok(start, 'qm_open of /edit/demo');
        // One jump onto the background left of the crate, then a stroke of small steps.
        await page.mouse.move(...client(stroke.from, stroke.y));
        if (withStroke) await page.mouse.move(endX, endY, {steps: 26});
        const later = await call(page, (qm, ticks) => { qm.advance(ticks); return qm.state(); }, afterTicks);
        return {before: objectNamed(start, crate), later: objectNamed(later, crate)};
      };

      const control = await runOnce(false);
      const pushed = await runOnce(true);
      const moved = (r) => Math.hypot(r.later.x - r.before.x, r.later.y - r.before.y);
      report(`mouse: canvas shown at ${box.width.toFixed(0)}x${box.height.toFixed(0)} CSS pixels; ` +
        `${crate} moved ${moved(pushed).toFixed(3)} with the stroke, ${moved(control).toExponential(2)} without`);
      assert.ok(control.before && pushed.before, `${crate} is in the state`);
      assert.deepEqual(pushed.before, control.before, 'both runs start from the same state');
      assert.ok(moved(control) < 0.01, `${crate} moved ${moved(control)} with no stroke`);
      assert.ok(pushed.later.x - pushed.before.x > 1, `${crate} went from x ${pushed.before.x} to ${pushed.later.x} with a rightward stroke`);
    });
  });

  describe('every example opens from its address', () => {
    const examples = SCENES.filter((s) => s.name !== 'demo');
    const ticking = async (page) => {
      const first = await call(page, (qm) => qm.ticks());
      await sleep(700);
      const second = await call(page, (qm) => qm.ticks());
      assert.ok(second > first, `qm_ticks went from ${first} to ${second} in 0.7 s`);
    };

    for (const scene of examples) {
      test(`loaded at #${scene.name}`, async () => {
        await onPage(`open ${scene.name}`, scene.name, async (page) => {
          const shown = await page.$eval('#editor', (e) => e.value);
          assert.ok(shown === sceneText(scene), `the editor does not hold examples/${scene.name}/scene.txt ` +
            `(${shown.length} characters against ${sceneText(scene).length})`);
          await ticking(page);
        });
      });
    }

    test('choosing a scene in the menu opens it and shows it in the address', async () => {
      await onPage('menu', 'demo', async (page) => {
        for (const scene of [examples[0], SCENES[0]]) {
          await page.select('#scenes', scene.name);
          await page.waitForFunction((text) => document.getElementById('editor').value === text, {timeout: 15000}, sceneText(scene))
            .catch(() => assert.fail(`${scene.name} chosen: the editor does not hold its scene.txt after 15 s`));
          assert.equal(await page.evaluate(() => location.hash), `#${scene.name}`);
          await ticking(page);
        }
      });
    });

    test('the address changed to each #name on a loaded page', async () => {
      await onPage('hash changes', 'demo', async (page) => {
        for (const scene of [...examples, SCENES[0]]) {
          await page.evaluate((name) => { location.hash = `#${name}`; }, scene.name);
          const want = sceneText(scene);
          await page.waitForFunction((text) => document.getElementById('editor').value === text, {timeout: 15000}, want)
            .catch(() => assert.fail(`#${scene.name}: the editor does not hold its scene.txt after 15 s`));
          await ticking(page);
        }
      });
    });
  });

  test('speed of the stress example', async () => {
    await onPage('speed', 'stress', async (page) => {
      const timer = await page.evaluate(async () => {
        const M = window.quillmoor.module;
        const ticks = () => M.ccall('qm_ticks', 'number', [], []);
        const t0 = performance.now();
        const n0 = ticks();
        await new Promise((resolve) => setTimeout(resolve, 5000));
        return {ticks: ticks() - n0, seconds: (performance.now() - t0) / 1000};
      });
      const flat = await page.evaluate(() => {
        const M = window.quillmoor.module;
        M.ccall('qm_set_running', null, ['number'], [0]);
        const t0 = performance.now();
        M.ccall('qm_advance', null, ['number'], [300]);
        return {ticks: 300, seconds: (performance.now() - t0) / 1000};
      });
      const rate = (r) => (r.ticks / r.seconds).toFixed(1);
      report(`stress: page ${rate(timer)} ticks/s on its timer, ${rate(flat)} ticks/s flat out ` +
        `(${timer.ticks} ticks in ${timer.seconds.toFixed(2)} s; qm_advance(300) took ${flat.seconds.toFixed(2)} s)`);
      assert.ok(timer.ticks > 0, 'the page\'s timer stepped the stress scene');
    });
  });

  // Last, so that it sees the whole run.
  test('no console error, page error or failed request in the whole run', () => {
    assert.deepEqual(session.problems, []);
  });
});
