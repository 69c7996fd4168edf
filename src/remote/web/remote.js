"use strict";
// The remote for a tablet: every button is one request to the API; the page shows what the
// events socket reports, never what it assumes.
const INPUTS = [["AV1", 0], ["AV2", 1], ["VGA", 8], ["HDMI", 11], ["DP", 12], ["DVI", 14]];
const TOKEN_KEY = "korvane.token";
// The server's "Link" values; "offline" is the page's own, while the events socket is down.
const LINK_TEXT = {
  connected: "连接: 正常", lost: "连接: 断开", reconnecting: "连接: 正在重新连接",
  closed: "连接: 已关闭", offline: "连接: 远程服务器无响应",
};
const REASON_TEXT = {
  "hang-up": "线路挂断", "device removed": "设备已移除", "write failed": "发送失败",
  "no answer": "处理器无应答", "cannot open": "无法打开设备",
};
const state = {};

function takeTokenFromAddress() {
  const m = /token=([A-Za-z0-9]+)/.exec(location.hash);
  if (m) {
    localStorage.setItem(TOKEN_KEY, m[1]);
    history.replaceState(null, "", location.pathname);
  }
}

function show(text, failed) {
  const s = document.getElementById("status");
  s.textContent = text;
  s.className = failed ? "error" : "";
}

async function send(method, path, body, asked) {
  const headers = { "Content-Type": "application/json" };
  const token = localStorage.getItem(TOKEN_KEY);
  if (token) headers["Authorization"] = "Bearer " + token;
  const r = await fetch(path, { method, headers, body: JSON.stringify(body || {}) });
  if (r.status === 401 && !asked) {
    const t = prompt("令牌 (token)");
    if (t) {
      localStorage.setItem(TOKEN_KEY, t.trim());
      return send(method, path, body, true);
    }
  }
  // A wrong token is not kept: the next action asks again.
  if (r.status === 401 && asked) localStorage.removeItem(TOKEN_KEY);
  const answer = await r.json().catch(() => ({}));
  if (r.ok) show("OK", false);
  else show(answer.error || r.statusText, true);
}

function button(text, id, onClick) {
  const b = document.createElement("button");
  b.textContent = text;
  b.id = id;
  b.addEventListener("click", onClick);
  return b;
}

function build() {
  for (const picture of [1, 2]) {
    const row = document.getElementById("inputs" + picture);
    for (const [name, code] of INPUTS) {
      row.appendChild(button(name, "input" + picture + name,
                             () => send("POST", "/api/inputs/" + picture, { input: code })));
    }
  }
  const grid = document.getElementById("templates");
  for (let n = 1; n <= 10; ++n) {
    grid.appendChild(button(String(n), "template" + n,
                            () => send("POST", "/api/templates/" + n + "/recall")));
  }
  document.getElementById("freezeOn").onclick = () => send("POST", "/api/freeze", { on: true });
  document.getElementById("freezeOff").onclick = () => send("POST", "/api/freeze", { on: false });
  document.getElementById("brightnessDown").onclick =
      () => send("POST", "/api/quality/Brightness", { step: -5 });
  document.getElementById("brightnessUp").onclick =
      () => send("POST", "/api/quality/Brightness", { step: 5 });
  const pattern = document.getElementById("pattern");
  for (let n = 1; n <= 72; ++n) pattern.add(new Option(String(n), String(n)));
  document.getElementById("patternShow").onclick =
      () => send("POST", "/api/testpattern", { pattern: Number(pattern.value) });
  document.getElementById("patternEnd").onclick =
      () => send("POST", "/api/testpattern", { pattern: 0 });
}

function render() {
  const link = document.getElementById("link");
  const name = LINK_TEXT[state.Link] ? state.Link : "offline";
  const reason = state.LinkReason ? REASON_TEXT[state.LinkReason] || state.LinkReason : "";
  link.textContent = LINK_TEXT[name] + (reason && name !== "connected" ? " (" + reason + ")" : "");
  link.className = "link " + name;
  for (let n = 1; n <= 10; ++n) {
    const name = state["Template" + n];
    document.getElementById("template" + n).textContent = name ? n + " " + name : String(n);
  }
  for (const [picture, key] of [[1, "Picture1Source"], [2, "Picture2Source"]]) {
    for (const [name, code] of INPUTS) {
      document.getElementById("input" + picture + name)
          .classList.toggle("current", state[key] === code);
    }
  }
  if (state.Brightness !== undefined) {
    document.getElementById("brightness").textContent = state.Brightness;
  }
}

function listen() {
  const ws = new WebSocket("ws://" + location.host + "/api/events");
  ws.onmessage = (e) => {
    const message = JSON.parse(e.data);
    Object.assign(state, message.state || {});
    render();
  };
  ws.onclose = () => {
    state.Link = "offline";
    render();
    setTimeout(listen, 2000);
  };
}

takeTokenFromAddress();
build();
listen();
