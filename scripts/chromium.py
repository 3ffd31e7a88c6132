# Starts Debian's Chromium headless through its WebDriver (Debian's chromedriver and Selenium), for
# the web tests and the browser benchmarks: WebGL drawn in software (SwiftShader), a pixel per CSS
# pixel unless a test emulates a device, no background networking, no smooth scrolling (a key that
# scrolls shows at once) and no scroll bars (a page made scrollable keeps its width), the
# browser's console kept for reading back, and no sandbox as root, where Chromium refuses to start
# with it. The driver makes a fresh profile for each browser.
import os
import sys

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service

TIME_SCALE = int(os.environ.get('FIZZGRID_TIMEOUT_MULTIPLIER', '1'))


def launch(width, height, *flags):
    """The browser, started with FLAGS besides its own, with a viewport of WIDTH by HEIGHT CSS
    pixels, or None after saying why Chromium cannot start on this machine (under some emulators,
    say)."""
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                 '--force-device-scale-factor=1', '--disable-background-networking',
                 '--disable-smooth-scrolling', '--hide-scrollbars',
                 ] + ['--no-sandbox'] * (os.getuid() == 0) + list(flags):
        options.add_argument(flag)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    try:
        browser = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    except WebDriverException as e:
        print(f'Chromium cannot start on this machine: {(str(e).strip() or repr(e)).splitlines()[0]}')
        return None
    browser.set_page_load_timeout(30 * TIME_SCALE)
    emulate(browser, width, height)
    return browser


def emulate(browser, width, height, ratio=1, touch=False):
    """Makes the viewport WIDTH by HEIGHT CSS pixels at RATIO device pixels each: a phone or a
    tablet (with a touch screen, taps through Input.dispatchTouchEvent) when TOUCH, a desktop
    window otherwise. On a loaded page, it is resized as a window or a turned device is."""
    browser.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                            {'width': width, 'height': height, 'deviceScaleFactor': ratio,
                             'mobile': touch})
    browser.execute_cdp_cmd('Emulation.setTouchEmulationEnabled',
                            {'enabled': touch, 'maxTouchPoints': 5 if touch else 1})


def errors(browser):
    """The page's uncaught errors and console errors since the last call."""
    return [entry['message'] for entry in browser.get_log('browser')
            if entry['level'] == 'SEVERE']


def page_url(path):
    if not os.path.isfile(path):
        sys.exit(f'FAIL: no page at {path}: scripts/web.sh builds it')
    return 'file://' + os.path.abspath(path)
