-- The Neovim snippet editors/vim/lua/zolt/lsp.lua with Neovim's own LSP client: opening a Zolt
-- buffer starts `zolt lsp` (a stand-in server, fake_zolt.py), the client initializes it, opens
-- the document as zolt and shows the diagnostic the server publishes; quitting shuts it down.
--   tests/editors/run_editor_test.sh nvim nvim_lsp.lua
local root = os.getenv('ZOLT_ROOT')
local failures = {}
local function fail(text)
  table.insert(failures, text)
end

local function finish()
  table.insert(failures, ('lsp: %d failures'):format(#failures))
  vim.fn.writefile(failures, os.getenv('ZOLT_REPORT'))
  vim.cmd(#failures == 1 and 'qall!' or 'cquit!')
end

local ok, err = pcall(function()
  vim.opt.runtimepath:prepend(root .. '/editors/vim')
  vim.cmd('filetype plugin on')
  local work = vim.loop.cwd()
  vim.fn.mkdir('bin')
  vim.fn.writefile({ '#!/bin/sh', 'exec python3 ' .. vim.fn.shellescape(root .. '/tests/editors/fake_zolt.py') .. ' "$@"' }, 'bin/zolt')
  vim.fn.setfperm('bin/zolt', 'rwxr-xr-x')
  vim.env.PATH = work .. '/bin:' .. vim.env.PATH
  vim.env.ZOLT_FAKE_LOG = work .. '/zolt.log'

  require('zolt.lsp').setup()
  vim.fn.writefile({ '; zolt', '\tlda 5', '\tfoo 5' }, 'prog.asm')
  vim.cmd('edit prog.asm')
  local buffer = vim.api.nvim_get_current_buf()
  -- A bound on the wait only: a server that never answers fails here instead of hanging.
  if not vim.wait(20000, function() return #vim.diagnostic.get(buffer) > 0 end, 20) then
    fail('no diagnostic arrived; the server log: ' .. table.concat(vim.fn.readfile('zolt.log'), ' | '))
    return
  end
  local d = vim.diagnostic.get(buffer)[1]
  local got = { d.lnum, d.col, d.end_col, d.severity, d.source, d.message }
  local expected = { 2, 1, 4, vim.diagnostic.severity.ERROR, 'zolt', 'invalid instruction in a zolt document' }
  if not vim.deep_equal(got, expected) then
    fail('diagnostic ' .. vim.inspect(got) .. ', not ' .. vim.inspect(expected))
  end
  local clients = vim.lsp.get_active_clients()
  if #clients ~= 1 or clients[1].name ~= 'zolt' or not vim.deep_equal(clients[1].config.cmd, { 'zolt', 'lsp' })
      or clients[1].config.root_dir ~= work then
    fail('clients: ' .. vim.inspect(vim.tbl_map(function(c) return { c.name, c.config.cmd, c.config.root_dir } end, clients)))
  end
  -- A second buffer in the same directory joins the running server.
  vim.fn.writefile({ '\tnop' }, 'more.zolt')
  vim.cmd('edit more.zolt')
  vim.wait(20000, function() return #vim.diagnostic.get(0) > 0 end, 20)
  if #vim.lsp.get_active_clients() ~= 1 or #vim.lsp.buf_get_clients(0) ~= 1 then
    fail('the second buffer did not join the one server')
  end

  vim.lsp.stop_client(clients[1].id)
  vim.wait(20000, function() return #vim.lsp.get_active_clients() == 0 end, 20)
  local log = vim.fn.readfile('zolt.log')
  local expected_log = { 'lsp', 'lsp initialize', 'lsp initialized', 'lsp textDocument/didOpen',
    'lsp textDocument/didOpen', 'lsp shutdown', 'lsp exit' }
  if not vim.deep_equal(log, expected_log) then
    fail('the server received ' .. vim.inspect(log))
  end
end)
if not ok then
  fail('error: ' .. tostring(err))
end
finish()
