// The 60-item job in the page: 60 five-point items, six factors, 2000 and
// 1500 participants made by talver-generate, as the benchmark grid makes
// them. The counter and the time left must advance while it runs, and the
// report must equal talver-batch's.
//   TALVER_SITE=build-web/site TALVER_BATCH=build/talver-batch node --test web/tests/long-job.test.js
"use strict";

const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { execFileSync } = require("child_process");
const { reportLinesCompared } = require("./compare-outputs.js");
const { batch, sharedBrowserAndServer, runBatch, openPage, download, computeInPage } = require("./page-driver.js");

// ULS, as the README's grid times it; 500 samples, the fewest the options
// allow, keep the browser stage within its budget.
const samples = process.env.TALVER_LONG_SAMPLES || "500";

const folder = fs.mkdtempSync(path.join(os.tmpdir(), "talver-web-60-"));
const shared = sharedBrowserAndServer(test, folder);

test("the 60-item job shows its progress and ends with talver-batch's report", async () => {
    const generate = path.join(path.dirname(batch), "talver-generate");
    const made = (args, name) => fs.writeFileSync(path.join(folder, name),
        execFileSync(generate, ["--items", "60", "--factors", "6", "--categories", "5"].concat(args)));
    made(["--participants", "2000", "--seed", "421"], "target.dat");
    made(["--participants", "1500", "--seed", "422", "--loading", "0.6", "--shift", "2:0.3"], "replica.dat");
    const { page, problems } = await openPage(shared.browser, shared.server.url + "index.html", shared.server.url);
    await page.check("input[name=mode][value=plain]");
    await page.setInputFiles("#file-target", path.join(folder, "target.dat"));
    await page.setInputFiles("#file-replication", path.join(folder, "replica.dat"));
    await page.fill("#target-count", "2000");
    await page.fill("#replication-count", "1500");
    await page.fill("#item-count", "60");
    await page.fill("#factors", "6");
    await page.fill("#samples", samples);
    await page.waitForFunction(() => !document.getElementById("compute").disabled);
    // The counter, its step and the time left, as the page shows them.
    await page.evaluate(() => {
        window.seenProgress = [];
        new MutationObserver(() => window.seenProgress.push({
            step: document.getElementById("section").textContent + " / " + document.getElementById("step").textContent,
            done: document.getElementById("counter").value,
            timing: document.getElementById("timing").textContent,
        })).observe(document.getElementById("progress-box"), { subtree: true, childList: true, characterData: true });
    });
    const seconds = await computeInPage(page);
    const seen = await page.evaluate(() => window.seenProgress);
    // Each bootstrap of the run counts up to its samples, never back.
    const counted = seen.filter((s) => s.done > 0);
    assert.ok(new Set(counted.map((s) => s.done)).size >= 10, `the counter showed ${counted.length} values`);
    counted.forEach((s, i) => {
        if (i > 0 && s.step === counted[i - 1].step) {
            assert.ok(s.done >= counted[i - 1].done, `the counter went back in "${s.step}"`);
        }
    });
    assert.ok(counted.some((s) => s.done === Number(samples)), "the counter never reached the samples");
    assert.ok(seen.some((s) => /\d/.test(s.timing)), "no time left was shown");
    const report = await download(page, "#download-text");
    const run = runBatch(["--target", "target.dat", "--replication", "replica.dat", "--target-count", "2000",
        "--replication-count", "1500", "--items", "60", "--factors", "6", "--method", "uls", "--dispersion", "covariance",
        "--samples", samples, "--output", "batch.txt"], folder);
    assert.strictEqual(run.status, 0, run.stderr);
    reportLinesCompared(report, fs.readFileSync(path.join(folder, "batch.txt"), "utf8"));
    console.log(`60 items, ${samples} samples: ${seconds.engine.toFixed(2)} s in the page, ` +
        `${run.seconds.toFixed(2)} s in talver-batch on one thread (ratio ${(seconds.engine / run.seconds).toFixed(2)})`);
    assert.deepStrictEqual(problems, []);
});
