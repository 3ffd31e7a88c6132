// Starts Debian's Chromium headless through puppeteer-core (installed by browser-deps.sh), for the
// web tests and the browser benchmarks: WebGL drawn in software (SwiftShader), a pixel per CSS
// pixel, no background networking, no smooth scrolling (a key that scrolls shows at once), a fresh
// profile (puppeteer's own temporary one), and no sandbox as root, where Chromium refuses to start
// with it. Resolves to the browser, or to null after saying why Chromium cannot start on this
// machine (under some emulators, say).
const puppeteer = require('../tests/web/node_modules/puppeteer-core');

exports.timeScale = Number(process.env.FIZZGRID_TIMEOUT_MULTIPLIER || 1);

exports.launch = async () => {
  const args = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--force-device-scale-factor=1', '--disable-background-networking',
    '--disable-smooth-scrolling'];
  if (process.getuid() === 0) args.push('--no-sandbox');
  try {
    return await puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true, args,
      timeout: 30000 * exports.timeScale});
  } catch (e) {
    console.log(`Chromium cannot start on this machine: ${e.message.split('\n')[0]}`);
    return null;
  }
};
