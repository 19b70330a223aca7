// The page's warm-up: every job it runs while the researcher chooses the
// data must be one the engine computes to the end (a refused job would warm
// nothing without a word), and it must never run beside the researcher's run.
//   TALVER_SITE=build-web/site TALVER_BATCH=build/talver-batch node --test web/tests/warm-up.test.js
"use strict";

const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { examples, sharedBrowserAndServer, openPage, chooseRoadJob } = require("./page-driver.js");

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "talver-warm-up-"));
const shared = sharedBrowserAndServer(test, scratch);

test("each warm-up job is computed to the end, with no message of a refusal or a failure", async () => {
    const { page, problems } = await openPage(shared.browser, shared.server.url + "index.html", shared.server.url);
    // A worker of the page's own making, given the page's warm-up, reports
    // the engine's status of each job and its lines.
    const warmed = await page.evaluate(() => new Promise((resolve) => {
        const lines = [];
        const warming = engineWorker();
        warming.onmessage = (event) => {
            if (event.data.kind === "line") { lines.push(event.data.text); }
            if (event.data.kind === "warmed") { warming.terminate(); resolve({ statuses: event.data.statuses, lines }); }
        };
        warming.postMessage({ cmd: "warm-up" });
    }));
    const said = warmed.lines.join("\n");
    assert.ok(warmed.statuses.length >= 4, said);
    assert.ok(warmed.statuses.every((status) => status === 0), `statuses ${warmed.statuses}: ${said}`);
    assert.doesNotMatch(said, /fail|refus|converge|cannot|read-only|stopped/i);
    assert.deepStrictEqual(problems, []);
});

test("Compute stops the warm-up at once, and the first run then ends as usual", async () => {
    const { page, problems } = await openPage(shared.browser, shared.server.url + "index.html", shared.server.url);
    await chooseRoadJob(page, path.join(examples, "groups.csv"));
    await page.fill("#samples", "500");
    // The page's own state, read in its scope: its warm-up worker is gone
    // as soon as the click has been handled.
    await page.click("#compute");
    assert.strictEqual(await page.evaluate(() => warmer), null);
    await page.waitForSelector("#results-section:not([hidden])", { timeout: 300000 });
    assert.strictEqual(await page.frameLocator("#report-frame").locator("#discriminations").count(), 1);
    assert.deepStrictEqual(problems, []);
});
