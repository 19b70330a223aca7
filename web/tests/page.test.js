// The page in Debian's chromium, from a local static server and from
// file://: the road job's outputs against talver-batch's and the report
// shown with its contents' links, a file with a bad token, Stop and a
// second run, no request outside the page's folder, no console errors, an
// engine the browser cannot compile, and the size of the page's files.
//   TALVER_SITE=build-web/site TALVER_BATCH=build/talver-batch node --test web/tests
"use strict";

const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { reportLinesCompared, jsonNumbersCompared } = require("./compare-outputs.js");
const { site, examples, roadArguments, sharedBrowserAndServer, runBatch, openPage, chooseRoadJob, download, computeInPage } =
    require("./page-driver.js");

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "talver-web-"));

async function computeAndCompare(page, label) {
    const pageSeconds = (await computeInPage(page)).engine;
    const report = await download(page, "#download-text");
    const json = await download(page, "#download-json");
    const html = await download(page, "#download-html");
    fs.copyFileSync(path.join(examples, "groups.csv"), path.join(scratch, "groups.csv"));
    const batchRun = runBatch(roadArguments.concat(["--output", "batch.txt", "--json", "batch.json"]), scratch);
    assert.strictEqual(batchRun.status, 0, batchRun.stderr);
    reportLinesCompared(report, fs.readFileSync(path.join(scratch, "batch.txt"), "utf8"));
    jsonNumbersCompared(JSON.parse(json), JSON.parse(fs.readFileSync(path.join(scratch, "batch.json"), "utf8")), 1e-12);
    assert.match(html, /<svg/);
    // The report shown is the page offered for download, and a link of its
    // contents leads to its section, not out of the report.
    const frame = page.frameLocator("#report-frame");
    assert.strictEqual(await frame.locator("h1").textContent(), html.match(/<h1>([^<]*)<\/h1>/)[1]);
    await frame.locator("a[href='#discriminations']").click();
    const shownAddress = () => frame.locator("body").evaluate(() => location.href);
    for (let wait = 0; wait < 50 && !(await shownAddress()).endsWith("#discriminations"); ++wait) {
        await page.waitForTimeout(100);
    }
    // The report is written into the frame, whose address is then the
    // page's; the frame still holds the report, not the page itself.
    assert.strictEqual(await shownAddress(), page.url().replace(/#.*$/, "") + "#discriminations");
    assert.strictEqual(await frame.locator("#discriminations").count(), 1);
    assert.strictEqual(await frame.locator("#compute").count(), 0);
    // Laid out as the downloaded page is: in standards mode, by its doctype.
    assert.strictEqual(await frame.locator("body").evaluate(() => document.compatMode), "CSS1Compat");
    assert.ok(await frame.locator("body").evaluate(() => window.scrollY > 0), "the report did not scroll to the section");
    console.log(`${label}: road job ${pageSeconds.toFixed(2)} s in the page, ` +
        `${batchRun.seconds.toFixed(2)} s in talver-batch on one thread (ratio ${(pageSeconds / batchRun.seconds).toFixed(2)})`);
}

const shared = sharedBrowserAndServer(test, scratch);

test("the page's files stay under 5 MB", () => {
    const total = fs.readdirSync(site).reduce((sum, name) => sum + fs.statSync(path.join(site, name)).size, 0);
    console.log(`page's files: ${(total / 1e6).toFixed(2)} MB`);
    assert.ok(total < 5e6, `${total} bytes`);
});

test("road job from a local server equals talver-batch's, then Stop and a second run", async () => {
    const { page, problems } = await openPage(shared.browser, shared.server.url + "index.html", shared.server.url);
    await chooseRoadJob(page, path.join(examples, "groups.csv"));
    // The options dialog's rule, compiled into the engine, says what it did.
    await page.fill("#samples", "20");
    await page.click("#check");
    await page.waitForSelector("#messages:has-text('The number of samples is adjusted to 500.')");
    await page.fill("#samples", "1000");
    await computeAndCompare(page, "local server");
    // A long run, stopped once the counter moves; the page computes again.
    await page.selectOption("#method", "ml");
    await page.fill("#samples", "5000");
    await page.click("#compute");
    await page.waitForFunction(() => document.getElementById("counter").value > 0, null, { timeout: 120000 });
    await page.click("#stop");
    await page.waitForSelector("#messages:has-text('The computation was stopped')");
    await page.waitForSelector("#engine-state:text('Engine ready.')");
    await page.selectOption("#method", "uls");
    await page.fill("#samples", "1000");
    await computeAndCompare(page, "after Stop");
    assert.deepStrictEqual(problems, []);
});

test("road job from file:// equals talver-batch's", async () => {
    const folder = "file://" + site + "/";
    const { page, problems } = await openPage(shared.browser, folder + "index.html", folder);
    await chooseRoadJob(page, path.join(examples, "groups.csv"));
    await computeAndCompare(page, "file://");
    assert.deepStrictEqual(problems, []);
});

test("a file with a bad token shows the reader's message, and a refused option the dialog's", async () => {
    const bad = path.join(scratch, "bad-token.csv");
    const lines = fs.readFileSync(path.join(examples, "groups.csv"), "utf8").split("\n");
    lines[5] = lines[5].replace(/,(\d+)$/, ",3x");
    fs.writeFileSync(bad, lines.join("\n"));
    const { page, problems } = await openPage(shared.browser, shared.server.url + "index.html", shared.server.url);
    await chooseRoadJob(page, bad);
    await page.click("#check");
    await page.waitForFunction(() => document.getElementById("messages").textContent.trim() !== "");
    const shown = (await page.textContent("#messages")).trim();
    const batchRun = runBatch(roadArguments.map((a) => (a === "groups.csv" ? "bad-token.csv" : a)), scratch);
    // talver-batch also prints the window's status lines around it.
    assert.strictEqual(batchRun.status, 2);
    assert.ok(batchRun.stderr.includes(shown), `page: ${shown}\nbatch: ${batchRun.stderr}`);
    assert.match(shown, /3x/);
    assert.deepStrictEqual(problems, []);
});

test("a browser that cannot compile the engine says so, instead of loading for ever", async () => {
    const broken = path.join(scratch, "broken-site");
    fs.cpSync(site, broken, { recursive: true });
    const source = path.join(broken, "engine-source.js");
    // The WebAssembly's magic number without its version.
    fs.writeFileSync(source, fs.readFileSync(source, "utf8").replace(/TALVER_ENGINE_BINARY = "[^"]*"/,
        "TALVER_ENGINE_BINARY = \"AGFzbQ==\""));
    const page = await shared.browser.newPage();
    await page.goto("file://" + broken + "/index.html");
    await page.waitForSelector("#messages:has-text('This browser cannot run the engine')");
    assert.strictEqual(await page.textContent("#engine-state"), "");
    assert.ok(await page.isDisabled("#compute"));
    await page.close();
});
