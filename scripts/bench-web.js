// Times each scene's frame in headless Chromium (chromium.js): loads the benchmark page
// (bench/frame_web.cpp) with MIN_TIME and REPETITIONS, and prints the browser's version, then its
// "SCENE MS" lines, the median frame time of each scene in ms. Exits 77 where Chromium cannot
// start, 1 on any other failure.
// Usage: node bench-web.js PAGE.html
const path = require('path');
const chromium = require('./chromium.js');

(async () => {
  const browser = await chromium.launch();
  if (!browser) process.exit(77);
  try {
    const page = await browser.newPage();
    const lines = [];
    const done = new Promise((resolve, reject) => {
      setTimeout(() => reject(new Error('no "bench done" within 10 minutes')),
        600000 * chromium.timeScale).unref();
      page.on('pageerror', reject);
      page.on('console', (m) => (m.text() === 'bench done' ? resolve() : lines.push(m.text())));
    });
    const knobs = `${process.env.MIN_TIME || 0.2},${process.env.REPETITIONS || 5}`;
    await page.goto(`file://${path.resolve(process.argv[2])}?${knobs}`);
    await done;
    console.log(`# browser: ${await browser.version()}`);
    for (const line of lines) if (line.startsWith('bench ')) console.log(line.slice(6));
  } finally {
    await browser.close();
  }
})().catch((e) => { console.error(`bench-web.js: ${e.message || e}`); process.exit(1); });
