// Pictures as RGBA pixel arrays: desktop PNG files and the page's canvas.
import fs from 'node:fs';
import {PNG} from 'pngjs';

export function decodePng(buffer) {
  const png = PNG.sync.read(buffer);
  return {width: png.width, height: png.height, data: png.data};
}

export const readPng = (file) => decodePng(fs.readFileSync(file));

export function pixel(image, x, y) {
  const i = (y * image.width + x) * 4;
  return [image.data[i], image.data[i + 1], image.data[i + 2]];
}

// The canvas's drawing buffer at its own resolution, whatever size CSS gives it. With
// preserveDrawingBuffer the last frame drawn is still there to read.
export async function canvasPixels(page, id = 'canvas') {
  const url = await page.evaluate((canvasId) => document.getElementById(canvasId).toDataURL('image/png'), id);
  return decodePng(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
}

// Compares one probe: the page pixel at (x, y), or for a thin feature the page pixel
// within `radius` of it that comes closest, against the desktop pixel at (x, y).
// Returns the largest per-channel difference found and where.
export function probe(desktop, page, {x, y, radius = 0}) {
  const want = pixel(desktop, x, y);
  let best = {diff: Infinity};
  for (let dy = -radius; dy <= radius; dy++) {
    for (let dx = -radius; dx <= radius; dx++) {
      const got = pixel(page, x + dx, y + dy);
      const diff = Math.max(...got.map((v, c) => Math.abs(v - want[c])));
      if (diff < best.diff) best = {diff, got, at: [x + dx, y + dy]};
    }
  }
  return {want, ...best};
}
