// The demo's page in each look, in headless Chromium with WebGL2 on SwiftShader (the browser's
// software GL, as tests/web runs it): the frames the page shows a second (its animation frames)
// and the frames the program presents a second (its FPS line: each presentation clears the
// canvas once, counted at the WebGL context), with the canvas at 1280 x 979 (the page in a
// 1280 x 1040 window) and full screen at 1920 x 1080. A benchmark, not a test: the figures of a
// shared machine move; compare builds in one run.
//
//   (cd tests/web && npm ci) once; then
//   node bench/page_looks.js [WEB_BUILD...]   (default build/web; several: one after another,
//                                              in turns, for a side-by-side comparison)
"use strict";
const path = require("path");
const {sleep, serve, launchBrowser, openPage} = require("../tests/web/pages.js");

// Counts, in the page, its animation frames and the program's clears of the canvas.
function countFrames() {
  window.benchCounts = {frames: 0, clears: 0};
  const tick = () => {
    ++window.benchCounts.frames;
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
  const clear = WebGL2RenderingContext.prototype.clear;
  WebGL2RenderingContext.prototype.clear = function (...args) {
    // The default framebuffer only: the canvas, once each presentation.
    if (this.getParameter(this.FRAMEBUFFER_BINDING) === null) ++window.benchCounts.clears;
    return clear.apply(this, args);
  };
}

async function measure(page, seconds) {
  const before = await page.evaluate(() => ({...window.benchCounts, at: performance.now()}));
  await sleep(seconds * 1000);
  const after = await page.evaluate(() => ({...window.benchCounts, at: performance.now()}));
  const elapsed = (after.at - before.at) / 1000;
  return {shown: (after.frames - before.frames) / elapsed,
          presented: (after.clears - before.clears) / elapsed};
}

async function run(browser, folder, label) {
  const server = await serve(path.resolve(folder));
  const base = `http://127.0.0.1:${server.address().port}`;
  const {page} = await openPage(browser, `${base}/rotozoom.html`, countFrames,
                                {width: 1280, height: 1040});
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
      const {shown, presented} = await measure(page, 8);
      rows.push(`${label}  ${canvas}  ${look.padEnd(7)}  page ${shown.toFixed(1)} frames/s, ` +
                `program ${presented.toFixed(1)} presentations/s`);
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
    for (const folder of folders) await run(browser, folder, folder);
  } finally {
    await browser.close();
  }
})().catch(error => {
  console.error(error);
  process.exit(1);
});
