// The page's other ways in, each against talver-batch given the same files
// and options: two files with column names, two plain files of numbers with
// the counts, and files dropped on the page instead of chosen.
//   TALVER_SITE=build-web/site TALVER_BATCH=build/talver-batch node --test web/tests
"use strict";

const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { reportLinesCompared, jsonNumbersCompared } = require("./compare-outputs.js");
const { examples, sharedBrowserAndServer, runBatch, openPage, clickItemRange, download, computeInPage } =
    require("./page-driver.js");

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "talver-web-modes-"));

// groups.csv split by its group column into one file per sample, each with
// the header; both written into `folder` under the same name, `name`.
function splitGroups(folders, name) {
    const [header, ...rows] = fs.readFileSync(path.join(examples, "groups.csv"), "utf8").trimEnd().split("\n");
    const sampleColumn = header.split(",").indexOf("sample");
    const files = {};
    for (const [role, value] of [["target", "original"], ["replication", "retest"]]) {
        fs.mkdirSync(folders[role], { recursive: true });
        files[role] = path.join(folders[role], name);
        const kept = rows.filter((row) => row.split(",")[sampleColumn] === value);
        fs.writeFileSync(files[role], [header, ...kept].join("\n") + "\n");
    }
    return files;
}

// The page's outputs against talver-batch's on `batchArguments`, run in `folder`.
async function compareWithBatch(page, batchArguments, folder) {
    await computeInPage(page);
    const report = await download(page, "#download-text");
    const json = JSON.parse(await download(page, "#download-json"));
    const run = runBatch(batchArguments.concat(["--output", "batch.txt", "--json", "batch.json"]), folder);
    assert.strictEqual(run.status, 0, run.stderr);
    reportLinesCompared(report, fs.readFileSync(path.join(folder, "batch.txt"), "utf8"));
    jsonNumbersCompared(json, JSON.parse(fs.readFileSync(path.join(folder, "batch.json"), "utf8")), 1e-12);
    return report;
}

// Files as a drop of the desktop's file manager hands them to the page.
async function dropFiles(page, paths) {
    const files = paths.map((file) => ({ name: path.basename(file), text: fs.readFileSync(file, "utf8") }));
    const dataTransfer = await page.evaluateHandle((list) => {
        const transfer = new DataTransfer();
        for (const file of list) { transfer.items.add(new File([file.text], file.name, { type: "text/csv" })); }
        return transfer;
    }, files);
    await page.dispatchEvent("#drop", "dragover", { dataTransfer });
    await page.dispatchEvent("#drop", "drop", { dataTransfer });
}

const shared = sharedBrowserAndServer(test, scratch);

test("two files with column names, of the same name in two folders, equal talver-batch's", async () => {
    // Files of one name from two folders must stay two samples.
    const folder = path.join(scratch, "two");
    const files = splitGroups({ target: path.join(folder, "target"), replication: path.join(folder, "replication") },
        "answers.csv");
    const { page, problems } = await openPage(shared.browser, shared.server.url + "index.html", shared.server.url);
    await page.check("input[name=mode][value=two]");
    await page.setInputFiles("#file-target", files.target);
    await page.waitForSelector("#preview th");
    await page.setInputFiles("#file-replication", files.replication);
    await page.waitForFunction(() => !document.getElementById("compute").disabled);
    await clickItemRange(page, "q1", "q10");
    await page.click("#missing-suggestions button:text-is('add -9')");
    const report = await compareWithBatch(page, ["--target", "target/answers.csv", "--replication",
        "replication/answers.csv", "--items", "q1-q10", "--missing", "-9"], folder);
    // One file read twice would give one size twice.
    assert.match(report, /Number of observations in Target sample +: 707\n/);
    assert.match(report, /Number of observations in Replication sample +: 335\n/);
    assert.deepStrictEqual(problems, []);
});

test("two plain files with the counts equal talver-batch's, and a wrong count is refused", async () => {
    const { page, problems } = await openPage(shared.browser, shared.server.url + "index.html", shared.server.url);
    await page.check("input[name=mode][value=plain]");
    await page.setInputFiles("#file-target", path.join(examples, "target.dat"));
    await page.setInputFiles("#file-replication", path.join(examples, "replica.dat"));
    await page.waitForFunction(() => !document.getElementById("compute").disabled);
    // More participants than the file has rows: the page shows the reader's
    // message, as talver-batch gives it.
    await page.fill("#target-count", "708");
    await page.click("#check");
    await page.waitForFunction(() => /too few for 708 rows/.test(document.getElementById("messages").textContent));
    const refused = runBatch(["--target", "target.dat", "--replication", "replica.dat", "--target-count", "708",
        "--replication-count", "335", "--items", "10"], examples);
    assert.notStrictEqual(refused.status, 0);
    const reason = refused.stderr.split("\n").find((line) => /too few for 708 rows/.test(line));
    assert.ok(reason, refused.stderr);
    assert.ok((await page.textContent("#messages")).includes(reason.trim()));
    await page.fill("#target-count", "707");
    const folder = path.join(scratch, "plain");
    fs.mkdirSync(folder);
    for (const name of ["target.dat", "replica.dat"]) { fs.copyFileSync(path.join(examples, name), path.join(folder, name)); }
    await compareWithBatch(page, ["--target", "target.dat", "--replication", "replica.dat", "--target-count", "707",
        "--replication-count", "335", "--items", "10"], folder);
    assert.deepStrictEqual(problems, []);
});

test("files dropped on the page are read as chosen ones, a statistics file refused", async () => {
    const folder = path.join(scratch, "drop");
    fs.mkdirSync(folder);
    fs.copyFileSync(path.join(examples, "groups.csv"), path.join(folder, "groups.csv"));
    const { page, problems } = await openPage(shared.browser, shared.server.url + "index.html", shared.server.url);
    // A statistics package's file: the page says how to export it.
    fs.writeFileSync(path.join(folder, "survey.sav"), "$FL2");
    await dropFiles(page, [path.join(folder, "survey.sav")]);
    await page.waitForSelector("#preview-note:has-text('cannot read')");
    assert.match(await page.textContent("#preview-note"), /survey\.sav: .* Export the data .* as CSV/);
    // One file with a group column.
    await dropFiles(page, [path.join(folder, "groups.csv")]);
    await page.waitForSelector("#preview th:text-is('q10')");
    assert.match(await page.textContent("#file-names"), /^groups\.csv \(\d+ bytes\)$/);
    await clickItemRange(page, "q1", "q10");
    await page.selectOption("#group", "sample");
    await page.waitForSelector("#replication-group option[value=retest]", { state: "attached" });
    await page.selectOption("#replication-group", "retest");
    await page.click("#missing-suggestions button:text-is('add -9')");
    await compareWithBatch(page, ["--data", "groups.csv", "--group", "sample", "--target-group", "original",
        "--replication-group", "retest", "--items", "q1-q10", "--missing", "-9"], folder);
    // Two files at once, in the two-file mode: the first is the Target sample.
    const files = splitGroups({ target: path.join(folder, "a"), replication: path.join(folder, "b") }, "x.csv");
    fs.renameSync(files.target, path.join(folder, "target.csv"));
    fs.renameSync(files.replication, path.join(folder, "replication.csv"));
    await page.check("input[name=mode][value=two]");
    await dropFiles(page, [path.join(folder, "target.csv"), path.join(folder, "replication.csv")]);
    await page.waitForFunction(() => /replication\.csv/.test(document.getElementById("file-names").textContent));
    assert.match(await page.textContent("#file-names"), /^target\.csv \(\d+ bytes\), replication\.csv/);
    await page.waitForSelector("#preview th:text-is('q10')");
    await compareWithBatch(page, ["--target", "target.csv", "--replication", "replication.csv", "--items", "q1-q10",
        "--missing", "-9"], folder);
    assert.deepStrictEqual(problems, []);
});
