// End to end in the browser: the game's page in headless Chromium (scripts/chromium.js), played
// with real key events, each screen compared with the README's pictures as tests/e2e/play.sh
// compares the native window's. Exits 77 (skipped) where Chromium cannot start; fails on anything
// else. FIZZGRID_TIMEOUT_MULTIPLIER scales every wait. Usage: node play.js PAGE.html
const fs = require('fs');
const path = require('path');
const {PNG} = require('pngjs');
const chromium = require('../../scripts/chromium.js');

const shots = path.join(__dirname, '../../docs/screenshots');
const fail = (why) => { throw new Error(why); };
const errors = []; // uncaught errors and console errors in the page, all along

// SwiftShader rasterizes a little differently from Mesa's llvmpipe, which drew the pictures (the
// README's rule): the tile sides that lie within 0.02 px of the centres of row 304 and column 295
// fall on the other side of them, a whole line each; elsewhere, measured on every picture, at most
// 31 silhouette pixels differ by more than 8 levels of 255, and the winner's shading by more than 4
// in 74. Returns why a screen is not like the picture NAME, or '' when it is.
function unlike(png, name) {
  const want = PNG.sync.read(fs.readFileSync(path.join(shots, `${name}.png`)));
  if (png.width !== 600 || png.height !== 600) return `size ${png.width}x${png.height}`;
  let over4 = 0, over8 = 0;
  for (let p = 0; p < 600 * 600; p++) {
    if (p % 600 === 295 || Math.floor(p / 600) === 304) continue;
    const channel = (c) => Math.abs(png.data[4 * p + c] - want.data[4 * p + c]);
    const d = Math.max(channel(0), channel(1), channel(2));
    over4 += d > 4;
    over8 += d > 8;
  }
  if (over8 <= 40 && over4 <= 120) return '';
  return `${over8} pixels differ by more than 8 levels (40 may), ${over4} by more than 4 (120 may)`;
}

async function main() {
  const page = process.argv[2];
  if (!fs.existsSync(page)) fail(`no page at ${page}: scripts/web.sh builds it`);
  const browser = await chromium.launch();
  if (!browser) process.exit(77);
  try {
    const tab = await browser.newPage();
    tab.on('pageerror', (e) => errors.push(e.message));
    tab.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
    await tab.setViewport({width: 800, height: 700});
    await tab.goto(`file://${path.resolve(page)}`);
    const wait = 5000 * chromium.timeScale;
    await tab.waitForFunction(() => document.querySelector('canvas'), {timeout: wait});
    // Scrollable and taller than the window, so that a key left to the browser would scroll it.
    await tab.evaluate(() => {
      document.documentElement.style.overflow = 'auto';
      document.body.style.minHeight = '3000px';
    });
    const title = await tab.title();
    if (title !== 'Fizzgrid -- Quillon Final Project') fail(`title ${title}`);
    const canvas = await tab.evaluate(() => {
      const c = document.querySelector('canvas');
      const r = c.getBoundingClientRect();
      return {size: `${c.width}x${c.height} ${r.width}x${r.height}`,
        focused: document.activeElement === c,
        clip: {x: r.x, y: r.y, width: r.width, height: r.height}};
    });
    if (canvas.size !== '600x600 600x600') fail(`canvas ${canvas.size}`);
    if (!canvas.focused) fail('the canvas does not have the keyboard');

    const waitfor = async (what, name) => { // polls the canvas until it shows the picture NAME
      let why = '';
      for (const end = Date.now() + wait; Date.now() < end;) {
        const png = PNG.sync.read(Buffer.from(await tab.screenshot({clip: canvas.clip})));
        if (!(why = unlike(png, name))) return;
      }
      fail(`the page never showed ${what}: ${why}`);
    };
    const keys = async (...names) => {
      for (const key of names) await tab.keyboard.press(key);
      const scrolled = await tab.evaluate(() => `${scrollX},${scrollY}`);
      if (scrolled !== '0,0') fail(`the keys scrolled the page to ${scrolled}`);
    };
    let x, y; // the cursor
    const newGame = () => { x = 4; y = 4; return keys('Space'); };
    // The arrows from the cursor to each cell in turn, and Enter on it.
    const place = (...cells) => {
      const presses = [];
      for (const [cx, cy] of cells) {
        for (; x > cx; x--) presses.push('ArrowLeft');
        for (; x < cx; x++) presses.push('ArrowRight');
        for (; y > cy; y--) presses.push('ArrowDown');
        for (; y < cy; y++) presses.push('ArrowUp');
        presses.push('Enter');
      }
      return keys(...presses);
    };

    await waitfor('the starting board', 'start');
    // An arrow too many at each edge; 1 on (0,0), 2 on (1,0), 1 refused there, 1 on (0,0): 1 wins.
    await keys(...Array(5).fill('ArrowLeft'), ...Array(5).fill('ArrowDown'));
    [x, y] = [0, 0];
    await waitfor("player 1's cursor on (0,0)", 'cursor');
    await place([0, 0], [1, 0], [1, 0], [0, 0]);
    await waitfor("player 1's win", 'player1-wins');
    await newGame();
    await waitfor('the starting board', 'start');
    // 1 on (0,1), 2 on (0,0), 1 on (0,1), 2 on (0,0): it bursts and takes 1's only cell: 2 wins.
    await place([0, 1], [0, 0], [0, 1], [0, 0]);
    await waitfor("player 2's win", 'player2-wins');
    await newGame();
    // The game of the README's first picture (bench/scenes.cpp), its last move a burst on (7,2).
    await place([4, 4], [5, 4], [4, 4], [5, 4], [4, 4], [5, 3], [3, 4], [5, 3], [4, 5], [5, 3],
      [7, 2], [7, 1], [7, 2], [6, 5], [7, 2]);
    await waitfor('the game in progress', 'progress');
    await keys('q');
    await tab.waitForFunction(() => document.body.dataset.game === 'ended' &&
      /has ended.*Reload/.test(document.body.innerText), {timeout: wait})
      .catch(() => fail('q did not end the game'));
  } finally {
    await browser.close();
  }
  if (errors.length) fail('errors in the page');
}

main().catch((e) => {
  const also = errors.length ? `; the page's errors: ${errors.join('; ')}` : '';
  console.log(`FAIL: ${e.message}${also}`);
  process.exit(1);
});
