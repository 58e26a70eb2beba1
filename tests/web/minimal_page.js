// The smallest program's page, made by add_program from the pages' template: it starts the
// program, whose frame shows the sky, the ball and the text line (checked by the desktop
// test's tests/e2e/minimal_frame.py on a screenshot), and Escape ends it with status 1.
"use strict";
const assert = require("assert");
const {execFileSync} = require("child_process");
const fs = require("fs");
const path = require("path");
const {sleep, openPage, endedText} = require("./pages");
const {screenPixels} = require("./screen_pixels");

const frameCheck = path.join(__dirname, "..", "e2e", "minimal_frame.py");

async function minimalPage(browser, base, shots) {
  const {page, problems} = await openPage(browser, `${base}/minimal.html`);
  await page.waitForSelector("#canvas.gpu", {timeout: 10000});
  assert.strictEqual(await page.title(), "minimal");
  await sleep(1000);
  const shot = path.join(shots, "minimal.png");
  const canvas = await page.$eval("#canvas", element => {
    const box = element.getBoundingClientRect();
    return {x: box.x, y: box.y, width: box.width, height: box.height};
  });
  fs.writeFileSync(shot, (await screenPixels(page, canvas)).png);
  let seen;
  try {
    seen = execFileSync("python3", [frameCheck, shot], {encoding: "utf8"}).trim();
  } catch (error) {
    throw new Error(`the minimal program's page: ${error.stdout}`);
  }
  assert(await page.$('a[href="rotozoom.html"]'), "the page links back to the demo");
  await page.keyboard.press("Escape");
  assert.match(await endedText(page), /exit status 1/);
  assert.deepStrictEqual(problems, []);
  console.log(`ok: the minimal program's page made from the template runs it (${seen}); ` +
              "Escape ends it");
  await page.close();
}

module.exports = {minimalPage};
