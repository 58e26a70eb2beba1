// What the page tests share: the browser, a static file server, a page with what goes wrong
// on it and its console, and waits for what a page shows.
"use strict";
const fs = require("fs");
const http = require("http");
const path = require("path");
const puppeteer = require("puppeteer-core");

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

const types = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
               ".css": "text/css", ".bmp": "image/bmp"};

// Any static file server will do; this one is the test's own, on the loopback address.
function serve(folder) {
  const server = http.createServer((request, response) => {
    const file = path.join(folder, path.normalize(decodeURIComponent(request.url.split("?")[0])));
    if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {"Content-Type": types[path.extname(file)] || "application/octet-stream"});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise(resolve => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// Debian's Chromium, headless. WebGL2 runs on SwiftShader, the software renderer it carries,
// named here so that no other GPU path is tried; `extraArgs` can take WebGL away, or give the
// screen more device pixels (then with no emulated viewport: `window` is its size).
function launchBrowser(extraArgs = [], window = null) {
  return puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    defaultViewport: window ? null : undefined,
    args: ["--no-sandbox", "--disable-gpu", "--use-angle=swiftshader",
           "--enable-unsafe-swiftshader", "--disable-background-networking",
           "--disable-component-update", "--no-first-run", "--disable-sync", "--disable-quic",
           ...extraArgs,
           ...(window ? [`--window-size=${window.width},${window.height}`] : [])],
  });
}

// The page, with what goes wrong on it and every line of its console. `prepare`, when given,
// runs in the page before its own scripts. `viewport` null keeps the browser's window.
async function openPage(browser, url, prepare, viewport = {width: 800, height: 640}) {
  const page = await browser.newPage();
  if (viewport) await page.setViewport(viewport);
  const problems = [];
  const lines = [];
  page.on("console", message => {
    if (message.type() === "error") problems.push(`console error: ${message.text()}`);
    lines.push(message.text());
  });
  page.on("pageerror", error => problems.push(`page error: ${error.message}`));
  if (prepare) await page.evaluateOnNewDocument(prepare);
  await page.goto(url);
  return {page, problems, lines};
}

// Waits until the console has shown `line` `count` times in all.
async function waitForLine({lines}, line, count = 1, timeout = 10000) {
  const seen = () => lines.filter(text => text === line).length;
  for (const start = Date.now(); seen() < count; await sleep(20))
    if (Date.now() - start > timeout) throw new Error(`the console did not say "${line}"`);
}

async function endedText(page) {
  await page.waitForSelector("#ended.shown", {timeout: 5000});
  return page.$eval("#ended-text", element => element.textContent);
}

module.exports = {sleep, serve, launchBrowser, openPage, waitForLine, endedText};
