-- Neovim's own LSP client, through the snippet editors/vim/lua/zolt/lsp.lua, against the real
-- `zolt lsp` (its directory is $ZOLT_ARG): the diagnostics it shows, a go-to-definition jump and
-- a hover text.
--   tests/editors/run_editor_test.sh nvim ../lsp/nvim_client.lua BUILD_DIRECTORY
local root = os.getenv('ZOLT_ROOT')
local failures = {}
local function fail(text)
  table.insert(failures, text)
end

local ok, err = pcall(function()
  vim.opt.runtimepath:prepend(root .. '/editors/vim')
  vim.cmd('filetype plugin on')
  vim.env.PATH = os.getenv('ZOLT_ARG') .. ':' .. vim.env.PATH
  require('zolt.lsp').setup()
  vim.fn.writefile({ '; zolt', '.c K=5', 'start:', '\tlda \\K', '\tfoo 5', '\tjmp /start', '; end' },
    'prog.asm')
  vim.cmd('edit prog.asm')
  local buffer = vim.api.nvim_get_current_buf()
  -- A bound on the wait only: a server that never answers fails here instead of hanging.
  if not vim.wait(20000, function() return #vim.diagnostic.get(buffer) > 0 end, 20) then
    fail('no diagnostic arrived')
    return
  end
  local shown = {}
  for _, d in ipairs(vim.diagnostic.get(buffer)) do
    table.insert(shown, { d.lnum, d.col, d.end_col, d.severity, d.source, d.message })
  end
  local expected = { { 4, 1, 6, vim.diagnostic.severity.ERROR, 'zolt', 'Invalid instruction foo 5!' } }
  if not vim.deep_equal(shown, expected) then
    fail('diagnostics ' .. vim.inspect(shown))
  end

  -- Go to the definition of /start, on line 6: the cursor lands on the label, line 3.
  vim.api.nvim_win_set_cursor(0, { 6, 7 })
  vim.lsp.buf.definition()
  if not vim.wait(10000, function() return vim.api.nvim_win_get_cursor(0)[1] == 3 end, 20) then
    fail('definition: the cursor is at ' .. vim.inspect(vim.api.nvim_win_get_cursor(0)))
  end

  -- Hover on the constant reference of line 4.
  local params = { textDocument = { uri = vim.uri_from_bufnr(buffer) }, position = { line = 3, character = 6 } }
  local replies = vim.lsp.buf_request_sync(buffer, 'textDocument/hover', params, 10000) or {}
  local value
  for _, reply in pairs(replies) do
    value = reply.result and reply.result.contents.value
  end
  if value ~= 'constant `K` = $0005 (5), defined on line 2, used 1 time' then
    fail('hover: ' .. vim.inspect(value))
  end

  for _, client in ipairs(vim.lsp.get_active_clients()) do
    client.stop()
  end
  vim.wait(10000, function() return #vim.lsp.get_active_clients() == 0 end, 20)
end)
if not ok then
  fail('error: ' .. tostring(err))
end
table.insert(failures, ('lsp client: %d failures'):format(#failures))
vim.fn.writefile(failures, os.getenv('ZOLT_REPORT'))
vim.cmd(#failures == 1 and 'qall!' or 'cquit!')
