// Probe points for comparing the page's canvas with the desktop snapshot at the same tick,
// chosen by looking at the desktop pictures. Each feature probe names the colour the
// desktop picture has there, so a change to the scene that moves the feature away shows as
// a probe to re-choose rather than as a silent comparison of background with background.
//
// Tolerances are per channel, out of 255:
// - SOLID, inside a flat-coloured mesh well away from its edges: both sides write the same
//   8-bit colour; a few steps cover colour-conversion rounding.
// - THIN, on a rope, a line or a stroke of the scroller text (3 to 4 pixels wide on the
//   desktop): WebGL has no wide lines and Mesa and Chromium antialias differently, so
//   the line may be a pixel narrower or shifted. The probe takes the page pixel within
//   2 pixels that comes closest, and allows a partly covered edge pixel.
// - GLOW, in the halo of a glowing shape: a blur of shapes that were rasterised as above,
//   so it inherits their small differences spread over its whole radius.
// - Background points must be dark on the page: at most DARK in every channel.
export const SOLID = 8;
export const THIN = 48;
export const GLOW = 32;
export const DARK = 16;

export const PICTURES = [
  {
    scene: 'demo',
    ticks: 120,
    probes: [
      {what: 'purple crate, bottom left', x: 130, y: 685, tol: SOLID, desktop: [168, 117, 214]},
      {what: 'blue crate on it', x: 140, y: 635, tol: SOLID, desktop: [107, 168, 240]},
      {what: 'coral crate, left stack', x: 580, y: 683, tol: SOLID, desktop: [245, 120, 102]},
      {what: 'teal crate, left stack', x: 580, y: 632, tol: SOLID, desktop: [51, 178, 168]},
      {what: 'blue crate, right stack', x: 780, y: 683, tol: SOLID, desktop: [107, 168, 240]},
      {what: 'light face of the floor wedge', x: 312, y: 695, tol: SOLID, desktop: [252, 204, 87]},
      {what: 'dark face of the floor wedge', x: 348, y: 695, tol: SOLID, desktop: [204, 140, 41]},
      {what: 'ground slab', x: 512, y: 745, tol: SOLID, desktop: [51, 61, 76]},
      {what: 'lantern rope', x: 897, y: 200, radius: 2, tol: THIN, desktop: [245, 237, 214]},
      {what: "scroller text, the stem of 't'", x: 967, y: 58, radius: 2, tol: THIN, desktop: [252, 219, 128]},
      {what: 'background, middle', x: 500, y: 250, dark: true},
      {what: 'background, lower left', x: 300, y: 500, dark: true},
      {what: 'background, right', x: 950, y: 500, dark: true},
      {what: 'background, above the left wall', x: 60, y: 150, dark: true},
      {what: 'background, between the stacks', x: 680, y: 670, dark: true},
    ],
  },
  {
    // The debug view: outlines and lines 1.5 pixels wide, the slide joint dashed by the
    // stipple WebGL lacks, rope segments as points. The dark probes sit in the middle of two
    // gaps between the slide joint's dashes, so a line drawn solid fails them.
    scene: 'demo',
    ticks: 120,
    debug: true,
    probes: [
      {what: 'pin joint line', x: 390, y: 228, radius: 2, tol: THIN, desktop: [255, 255, 51]},
      {what: 'slide joint dash', x: 676, y: 186, radius: 2, tol: THIN, desktop: [255, 76, 255]},
      {what: 'rope segment point', x: 896, y: 201, radius: 2, tol: THIN, desktop: [255, 128, 26]},
      {what: 'outline of the purple crate', x: 115, y: 625, radius: 2, tol: THIN, desktop: [53, 218, 99]},
      {what: 'gap between slide joint dashes, upper', x: 677, y: 181, dark: true},
      {what: 'gap between slide joint dashes, lower', x: 675, y: 190, dark: true},
      {what: 'background beside the pin joint', x: 400, y: 260, dark: true},
    ],
  },
  {
    scene: 'glow',
    ticks: 120,
    probes: [
      {what: 'pink bob, centre', x: 460, y: 347, tol: GLOW, desktop: [255, 228, 255]},
      {what: 'white bob, centre', x: 823, y: 272, tol: GLOW, desktop: [255, 255, 255]},
      {what: 'green bob, centre', x: 605, y: 309, tol: GLOW, desktop: [243, 255, 228]},
      {what: 'pink bob, halo below', x: 460, y: 362, tol: GLOW, desktop: [118, 48, 89]},
      {what: 'pink bob, halo right', x: 480, y: 347, tol: GLOW, desktop: [82, 37, 64]},
      {what: 'pink bob, halo left', x: 440, y: 347, tol: GLOW, desktop: [70, 36, 57]},
      {what: 'floor line', x: 510, y: 713, radius: 2, tol: THIN, desktop: [28, 128, 133]},
      {what: 'background, lower middle', x: 500, y: 600, dark: true},
      {what: 'background, right', x: 950, y: 400, dark: true},
      {what: 'background, middle', x: 600, y: 450, dark: true},
    ],
  },
];
