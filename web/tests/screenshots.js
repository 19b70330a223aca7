// Screenshots of the page at each step of the road job, for the README:
//   node web/tests/screenshots.js build-web/site docs
"use strict";

const path = require("path");
const { chromium } = require("playwright-core");

const [site, output] = process.argv.slice(2).map((p) => path.resolve(p));
const groups = path.resolve(__dirname, "../../examples/groups.csv");

(async () => {
    const browser = await chromium.launch({
        executablePath: process.env.TALVER_CHROMIUM || "/usr/bin/chromium",
        args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync"],
    });
    const page = await browser.newPage({ viewport: { width: 1100, height: 900 } });
    const shoot = (name) => page.screenshot({ path: path.join(output, name), fullPage: false });
    await page.goto("file://" + site + "/index.html");
    await page.waitForSelector("#engine-state:text('Engine ready.')");
    await shoot("web-start.png");
    await page.setInputFiles("#file-one", groups);
    await page.waitForSelector("#preview th");
    await page.click("#preview th:text-is('q1')");
    await page.click("#preview th:text-is('q10')", { modifiers: ["Shift"] });
    await page.selectOption("#group", "sample");
    await page.waitForSelector("#target-group option[value=original]", { state: "attached" });
    await page.selectOption("#replication-group", "retest");
    await page.waitForSelector("#missing-suggestions button");
    await shoot("web-data.png");
    await page.click("#missing-suggestions button:text-is('add -9')");
    await page.fill("#samples", "5000");
    await page.click("#compute");
    await page.waitForFunction(() => document.getElementById("counter").value > 200);
    await page.locator("#run-section").screenshot({ path: path.join(output, "web-computing.png") });
    await page.click("#stop");
    await page.waitForSelector("#engine-state:text('Engine ready.')");
    await page.fill("#samples", "1000");
    await page.click("#compute");
    await page.waitForSelector("#results-section:not([hidden])", { timeout: 600000 });
    await page.locator("#results-section").scrollIntoViewIfNeeded();
    await page.frameLocator("#report-frame").locator("h2", { hasText: "Results in words" }).waitFor();
    await page.locator("#downloads").waitFor({ state: "visible" });
    await page.locator("#results-section").screenshot({ path: path.join(output, "web-results.png") });
    await browser.close();
})();
