#!/usr/bin/python3
"""The remote web page in a real browser: headless Chromium against korvane-server and the
simulator on a pseudo-terminal. One browser for the whole suite."""

import json
import os
import re
import subprocess
import sys
import tempfile
import unittest
import urllib.request

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

SIM = os.environ["KORVANE_SIM_EXE"]
SERVER = os.environ["KORVANE_SERVER_EXE"]
WAIT_S = 20


def read_line_matching(stream, pattern):
    for line in stream:
        m = re.search(pattern, line)
        if m:
            return m
    raise RuntimeError("no line matching " + pattern)


class RemotePageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.home = tempfile.TemporaryDirectory()
        env = dict(os.environ, KORVANE_HOME=cls.home.name)
        cls.sim = subprocess.Popen([SIM], stdout=subprocess.PIPE, text=True, env=env)
        device = cls.sim.stdout.readline().strip()
        cls.server = subprocess.Popen(
            [SERVER, "--device", device, "--http", "0", "--osc", "0"],
            stdout=subprocess.PIPE, text=True, env=env)
        cls.port = read_line_matching(cls.server.stdout, r"HTTP 127\.0\.0\.1:(\d+)").group(1)
        read_line_matching(cls.server.stdout, r"token in ")
        with open(os.path.join(cls.home.name, "korvaneapp.ini"), encoding="utf-8") as f:
            cls.token = re.search(r"token=(\w+)", f.read()).group(1)
        options = webdriver.ChromeOptions()
        for flag in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage"):
            options.add_argument(flag)
        cls.browser = webdriver.Chrome(options=options)
        cls.browser.get("http://127.0.0.1:%s/" % cls.port)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        for p in (cls.server, cls.sim):
            p.terminate()
            p.wait(timeout=10)
        cls.home.cleanup()

    def api(self, method, path, body=None, token=False):
        request = urllib.request.Request(
            "http://127.0.0.1:%s%s" % (self.port, path), method=method,
            data=json.dumps(body or {}).encode() if method != "GET" else None,
            headers={"Content-Type": "application/json"})
        if token:
            request.add_header("Authorization", "Bearer " + self.token)
        with urllib.request.urlopen(request, timeout=WAIT_S) as answer:
            return json.load(answer)

    def wait_for(self, condition, what):
        WebDriverWait(self.browser, WAIT_S).until(lambda b: condition(), what)

    def element(self, id_):
        return self.browser.find_element(By.ID, id_)

    def test_input_click_reaches_the_processor_and_the_page_follows(self):
        self.wait_for(lambda: "open" in self.element("link").get_attribute("class"), "link open")
        self.element("input1HDMI").click()
        self.wait_for(lambda: "current" in self.element("input1HDMI").get_attribute("class"),
                      "HDMI marked from the events socket")
        # Read back from the simulator: the switch reached it.
        self.api("POST", "/api/sync")
        self.assertEqual(self.api("GET", "/api/state")["Picture1Source"], 11)

    def test_template_click_recalls_and_the_page_shows_the_read_back(self):
        self.api("PUT", "/api/templates/2/name", {"name": "Walk-in"})
        self.wait_for(lambda: self.element("template2").text == "2 Walk-in", "name on the button")
        self.api("POST", "/api/quality/Brightness", {"value": 30})
        self.api("POST", "/api/templates/2/store", token=True)
        self.api("POST", "/api/quality/Brightness", {"value": 70})
        self.wait_for(lambda: self.element("brightness").text == "70", "brightness 70 shown")
        self.element("template2").click()
        # The processor recalled its stored 30 and the read-back brought it to the page.
        self.wait_for(lambda: self.element("brightness").text == "30", "recalled brightness")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
