#!/usr/bin/python3
"""The remote web page in a real browser: headless Chromium against korvane-server and the
simulator on a pseudo-terminal. One browser for the whole suite."""

import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import unittest
import urllib.request

from selenium import webdriver
from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions
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


def start_pair(home, name, listen):
    """A simulator behind a stable path and korvane-server on it; (sim, server, port)."""
    env = dict(os.environ, KORVANE_HOME=home)
    sim = subprocess.Popen([SIM, "--link", os.path.join(home, name)], stdout=subprocess.PIPE,
                           text=True, env=env)
    sim.stdout.readline()
    server = subprocess.Popen(
        [SERVER, "--device", os.path.join(home, name), "--http", "0", "--osc", "0",
         "--listen", listen], stdout=subprocess.PIPE, text=True, env=env)
    port = read_line_matching(server.stdout, r"HTTP [0-9.]+:(\d+)").group(1)
    read_line_matching(server.stdout, r"token in ")
    return sim, server, port


def stop_pair(sim, server):
    for p in (server, sim):
        p.terminate()
        p.wait(timeout=10)
        p.stdout.close()


class RemotePageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.home = tempfile.TemporaryDirectory()
        cls.sim, cls.server, cls.port = start_pair(cls.home.name, "tty1", "127.0.0.1")
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
        stop_pair(cls.sim, cls.server)
        cls.home.cleanup()

    def setUp(self):
        # Every case starts on the first server's page, whatever the one before left open.
        page = "http://127.0.0.1:%s/" % self.port
        if self.browser.current_url != page:
            self.browser.get(page)

    def api(self, method, path, body=None, token=False, port=None):
        request = urllib.request.Request(
            "http://127.0.0.1:%s%s" % (port or self.port, path), method=method,
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

    def link_shown(self, name):
        return self.element("link").get_attribute("class") == "link " + name

    def answer_prompt(self, text):
        prompt = WebDriverWait(self.browser, WAIT_S).until(expected_conditions.alert_is_present())
        prompt.send_keys(text)
        prompt.accept()

    def no_prompt_open(self):
        try:
            self.browser.switch_to.alert
            return False
        except NoAlertPresentException:
            return True

    def stored_token(self):
        return self.browser.execute_script("return localStorage.getItem('korvane.token');")

    def input_on_processor(self, port):
        """Picture 1's input as the processor reports it (a read-back, not the server's own
        record of what it sent)."""
        self.api("POST", "/api/sync", token=True, port=port)
        return self.api("GET", "/api/state", port=port)["Picture1Source"]

    def test_input_click_reaches_the_processor_and_the_page_follows(self):
        self.wait_for(lambda: self.link_shown("connected"), "link connected")
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

    def test_the_page_asks_once_for_the_token_and_keeps_it(self):
        # A server listening beyond this computer wants the token for every write; it is reached,
        # as everything here, through loopback.
        sim, server, port = start_pair(self.home.name, "tty2", "0.0.0.0")
        try:
            self.browser.get("http://127.0.0.1:%s/" % port)
            self.wait_for(lambda: self.link_shown("connected"), "link connected")
            first = self.input_on_processor(port)
            self.assertNotEqual(first, 14)

            # No token yet: asked; a wrong one is answered on the page, not kept, and sends
            # nothing.
            self.element("input1DVI").click()
            self.answer_prompt("wrongtoken")
            self.wait_for(lambda: self.element("status").text == "the token is wrong",
                          "the error on the page")
            self.assertEqual(self.element("status").get_attribute("class"), "error")
            self.assertIsNone(self.stored_token())
            self.assertEqual(self.input_on_processor(port), first)

            # Asked again; the right token does it and stays in the browser.
            self.element("input1DVI").click()
            self.answer_prompt(self.token)
            self.wait_for(lambda: "current" in self.element("input1DVI").get_attribute("class"),
                          "DVI marked from the events socket")
            self.assertEqual(self.element("status").text, "OK")
            self.assertEqual(self.stored_token(), self.token)
            self.assertEqual(self.input_on_processor(port), 14)

            # Not asked again, also after a reload.
            self.browser.refresh()
            self.wait_for(lambda: self.link_shown("connected"), "link connected after reload")
            self.element("input1HDMI").click()
            self.wait_for(lambda: "current" in self.element("input1HDMI").get_attribute("class"),
                          "HDMI marked")
            self.assertTrue(self.no_prompt_open())
            self.assertEqual(self.input_on_processor(port), 11)
        finally:
            stop_pair(sim, server)

    def test_the_page_shows_the_line_going_and_coming_back(self):
        self.wait_for(lambda: self.link_shown("connected"), "link connected")
        self.assertEqual(self.element("link").text, "连接: 正常")
        self.sim.send_signal(signal.SIGUSR1)
        self.wait_for(lambda: self.link_shown("reconnecting"), "reconnecting shown")
        self.assertRegex(self.element("link").text, r"^连接: 正在重新连接 \((线路挂断|设备已移除)\)$")
        # A click while it is lost: refused, and said on the page.
        self.element("freezeOn").click()
        self.wait_for(lambda: self.element("status").text.startswith("link lost"),
                      "the refusal on the page")
        self.sim.send_signal(signal.SIGUSR2)
        self.sim.stdout.readline()
        self.wait_for(lambda: self.link_shown("connected"), "connected again")
        self.assertEqual(self.element("link").text, "连接: 正常")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
