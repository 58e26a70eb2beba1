// The demo's page in each look, in headless Chromium with WebGL2 on SwiftShader (the browser's
// software GL, as tests/web runs it): the frames the page shows a second (its animation frames)
// and the frames the program presents a second (its FPS line: each presentation is told to the
// page, as a recording hears of it), and the browser's processor time (all its processes, in
// percent of one core), with the canvas at 1280 x 979 (the page in a 1280 x 1040 window) and
// full screen at 1920 x 1080. A benchmark, not a test: the figures of a shared machine move;
// compare builds in one run.
//
//   (cd tests/web && npm ci) once; then
//   node bench/page_looks.js [WEB_BUILD[:webgl-only]...]
//     default build/web; several: one after another, for a side-by-side comparison; with
//     ":webgl-only" the page draws every look with WebGL (window.rotozoomWebGlOnly), as it did
//     before the plain looks went to a 2D canvas where WebGL runs on the processor.
"use strict";
const path = require("path");
const fs = require("fs");
const {sleep, serve, launchBrowser, openPage} = require("../tests/web/pages.js");

// Counts, in the page, its animation frames; the program's presentations are counted once it
// runs (countPresentations).
function countFrames() {
  window.benchCounts = {frames: 0, presented: 0};
  const tick = () => {
    ++window.benchCounts.frames;
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
}

function countPresentations(page) {
  return page.evaluate(() => {
    const program = rotozoomPage.program;
    if (program.benchCounted) return;
    program.benchCounted = true;
    const inner = program.pictureShown;
    program.pictureShown = () => {
      ++window.benchCounts.presented;
      if (inner) inner();
    };
  });
}

// Processor time of a process and all its descendants, in clock ticks (1/100 s), from /proc.
function processorTicks(root) {
  const parents = new Map(), ticks = new Map();
  for (const entry of fs.readdirSync("/proc").filter(name => /^\d+$/.test(name))) {
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, "utf8");
      const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
      parents.set(Number(entry), Number(fields[1]));
      ticks.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch (error) {
      // Gone meanwhile.
    }
  }
  let total = 0;
  for (const [pid, value] of ticks) {
    let up = pid;
    while (up && up !== root) up = parents.get(up);
    if (up === root) total += value;
  }
  return total;
}

async function measure(page, seconds, browserPid) {
  await countPresentations(page);
  const ticksBefore = processorTicks(browserPid);
  const before = await page.evaluate(() => ({...window.benchCounts, at: performance.now()}));
  await sleep(seconds * 1000);
  const after = await page.evaluate(() => ({...window.benchCounts, at: performance.now()}));
  const ticks = processorTicks(browserPid) - ticksBefore;
  const elapsed = (after.at - before.at) / 1000;
  return {shown: (after.frames - before.frames) / elapsed,
          presented: (after.presented - before.presented) / elapsed,
          processor: ticks / elapsed};
}

function webGlOnly() {
  window.rotozoomWebGlOnly = true;
}

async function run(browser, spec) {
  const [folder, option] = spec.split(":");
  const server = await serve(path.resolve(folder));
  const base = `http://127.0.0.1:${server.address().port}`;
  const {page} = await openPage(browser, `${base}/rotozoom.html`, countFrames,
                                {width: 1280, height: 1040});
  if (option === "webgl-only") {
    await page.evaluateOnNewDocument(webGlOnly);
    await page.reload();
  }
  const label = spec;
  await page.waitForSelector("#canvas.gpu", {timeout: 20000});
  const rows = [];
  for (const fullScreen of [false, true]) {
    if (fullScreen) {
      // From the cheapest look, so that the page answers the click soon on a slow machine.
      await page.select("#look", "integer");
      await page.setViewport({width: 1920, height: 1080});
      await page.click("#fullscreen");
      await page.waitForFunction(() => document.fullscreenElement, {timeout: 30000});
    }
    for (const look of ["integer", "sharp", "crt"]) {
      await page.select("#look", look);
      await sleep(3000);  // the look's notice gone, the shaders compiled, the pace settled
      const canvas = await page.$eval("#canvas", c => `${c.width} x ${c.height}`);
      const {shown, presented, processor} = await measure(page, 8, browser.process().pid);
      rows.push(`${label}  ${canvas}  ${look.padEnd(7)}  page ${shown.toFixed(1)} frames/s, ` +
                `program ${presented.toFixed(1)} presentations/s, browser ` +
                `${processor.toFixed(0)} % of a core`);
      console.log(rows[rows.length - 1]);
    }
  }
  await page.close();
  server.close();
  return rows;
}

(async () => {
  const folders = process.argv.length > 2 ? process.argv.slice(2) : ["build/web"];
  const browser = await launchBrowser();
  try {
    for (const spec of folders) await run(browser, spec);
  } finally {
    await browser.close();
  }
})().catch(error => {
  console.error(error);
  process.exit(1);
});
